#include "ui/setup/CSetupDVRSetup.h"

#include "ui/controls/DialogKeys.h"
#include "ui/setup/CSetupCamera.h"
#include "ui/setup/CSetupEtc.h"
#include "ui/setup/CSetupNetwork.h"
#include "ui/setup/CSetupRecset.h"
#include "ui/setup/CSetupSchedule.h"
#include "ui/setup/CSetupSensor.h"
#include "ui/setup/CSetupSystem.h"
#include "ui/setup/SetupControls.h"
#include "ui/setup/SetupSession.h"

#include <QPainter>
#include <QPushButton>

using namespace setupui;

namespace {

constexpr const char* kTabTexts[] = {"System", "Camera", "Sensor", "Network", "Record Set", "Schedule", "File Upload"};
constexpr int kTabWidth = 95;
constexpr int kTabGap = 3;

} // namespace

CSetupDVRSetup::CSetupDVRSetup(SetupSession& session, QWidget* parent)
    : QWidget(parent)
    , m_session(session)
{
    resize(kSize);
    for (int page = 0; page < kPageCount; ++page) {
        m_tabs[page] = CheckButton(this, kFirstTab + page, kTabTexts[page],
                                   QRect(10 + page * (kTabWidth + kTabGap), 15, kTabWidth, 32), kTabElement);
        connect(m_tabs[page], &QPushButton::clicked, this, [this, page] { ShowPage(static_cast<Page>(page)); });
    }
    connect(Button(this, kExit, "Exit", QRect(kSize.width() - 10 - kTabWidth, 15, kTabWidth, 32), kTabElement),
            &QPushButton::clicked, this, &CSetupDVRSetup::Exit);
    createPages();
    hide();
}

void CSetupDVRSetup::createPages()
{
    // Created in this order; each tab finds its own page.
    auto place = [this](Page page, CSetupPage* widget, QSize size = kPageSize) {
        m_pages[page] = widget;
        widget->setGeometry(QRect(kPageOrigin, size));
        widget->setAccessibleName(kTabTexts[page]);
    };
    place(kSystem, new CSetupSystem(m_session, m_copies, this));
    place(kCamera, new CSetupCamera(m_session, m_copies, this));
    place(kSensor, new CSetupSensor(m_session, m_copies, this));
    place(kNetwork, new CSetupNetwork(m_session, m_copies, this));
    place(kSchedule, new CSetupSchedule(m_session, m_copies, this));
    place(kRecordSet, new CSetupRecset(m_session, m_copies, this));
    place(kFileUpload, new CSetupEtc(m_session, m_copies, this), CSetupEtc::kSize);
}

void CSetupDVRSetup::Open(const ZERD_INFO_BLK& current)
{
    m_copies.Distribute(current);
    m_active.fill(false);
    setGeometry(QRect(pos(), kSize));
    show();
    raise();
    ShowPage(kSystem);
}

void CSetupDVRSetup::Redistribute(const ZERD_INFO_BLK& current)
{
    m_copies.Distribute(current);
}

void CSetupDVRSetup::ShowPage(Page page)
{
    for (QPushButton* tab : m_tabs)
        tab->setChecked(false);
    if (m_active[page]) {
        m_tabs[page]->setChecked(true);
        return;
    }
    m_session.PreparePage();
    m_tabs[page]->setChecked(true);
    for (int other = 0; other < kPageCount; ++other)
        if (other != page)
            m_pages[other]->hide();
    m_pages[page]->BeforeShow();
    m_active.fill(false);
    m_active[page] = true;
    m_pages[page]->show();
    m_pages[page]->AfterShow();
    m_pages[page]->ApplyModelLimits(m_session.DvrTypeCode());
}

void CSetupDVRSetup::Exit()
{
    hide();
    for (CSetupPage* page : m_pages)
        page->OnSetupExit();
    m_session.SetupClosed();
    m_copies.Clear();
    m_active.fill(false);
    for (int page = 0; page < kPageCount; ++page) {
        m_pages[page]->hide();
        m_tabs[page]->setChecked(false);
    }
}

void CSetupDVRSetup::paintEvent(QPaintEvent*)
{
    QPainter(this).fillRect(rect(), Qt::black);
}

void CSetupDVRSetup::keyPressEvent(QKeyEvent* event)
{
    if (!SwallowDialogCloseKey(event))
        QWidget::keyPressEvent(event);
}
