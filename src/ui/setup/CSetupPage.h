#pragma once

#include <QWidget>

#include <cstdint>

class SetupSectionCopies;
class SetupSession;

// One page of the setup host. A page that edits a section of the settings
// block fills its controls from the working copy and stores them back; the
// host calls the hooks below. A page without controls of its own (one not
// built yet) is an empty page.
class CSetupPage : public QWidget {
    Q_OBJECT
public:
    CSetupPage(SetupSession& session, SetupSectionCopies& copies, QWidget* parent);

    // Before the page shows (and, for pages that want it, after).
    virtual void BeforeShow() {}
    virtual void AfterShow() {}
    // The recorder model limits which of the page's buttons may be used.
    virtual void ApplyModelLimits(std::uint8_t) {}
    // The host closes: the page ends what it runs.
    virtual void OnSetupExit() {}

protected:
    void keyPressEvent(QKeyEvent* event) override;

    SetupSession& m_session;
    SetupSectionCopies& m_copies;
};
