#include "ui/setup/CSetupPage.h"

#include "ui/controls/DialogKeys.h"
#include "ui/setup/SetupControls.h"

CSetupPage::CSetupPage(SetupSession& session, SetupSectionCopies& copies, QWidget* parent)
    : QWidget(parent)
    , m_session(session)
    , m_copies(copies)
{
    setObjectName(setupui::kPageElement);
    setAttribute(Qt::WA_StyledBackground);
    hide();
}

void CSetupPage::keyPressEvent(QKeyEvent* event)
{
    if (!SwallowDialogCloseKey(event))
        QWidget::keyPressEvent(event);
}
