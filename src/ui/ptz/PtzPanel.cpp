#include "ui/ptz/PtzPanel.h"

#include "core/ptz/PtzButtons.h"
#include "core/ptz/PtzChannelSetting.h"
#include "ui/ptz/CPTZController.h"
#include "ui/ptz/PtzKeyboard.h"
#include "ui/viewer/LiveViewer.h"

#include <QEvent>
#include <QWidget>

namespace {

// Hides are seen after the fact: a movement a key started must stop then.
class HideWatch : public QObject {
public:
    HideWatch(QObject* parent, std::function<void()> onHide) : QObject(parent), m_onHide(std::move(onHide)) {}

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Hide)
            m_onHide();
        return false;
    }

private:
    std::function<void()> m_onHide;
};

}  // namespace

PtzPanel::PtzPanel(QWidget* window, LiveViewer& viewer, CPTZController* controller)
    : QObject(window), m_viewer(viewer), m_controller(controller)
{
    m_table = std::make_unique<PtzChannelTable>(
        window, PtzDriverFolder(),
        [this](unsigned char* data, int length) { m_viewer.PutSerialPortData(data, length); },
        [this](const std::string& line) { m_viewer.ShowStatus(QString::fromStdString(line)); });
    connect(controller, &CPTZController::command, this, [this](ptz::Command c) { m_table->Issue(c); });
    m_table->SetSpeed(ptz::kControllerSpeed);
    m_keyboard = new PtzKeyboard(
        window, [this] { return keysMayAct(); }, [this](const ptz::PtzKeyAction& a) { onKeyAction(a); });
    controller->installEventFilter(new HideWatch(this, [this] { m_keyboard->Cancel(); }));
    connect(&viewer, &LiveViewer::paneSelected, this, &PtzPanel::onPaneSelected);
    connect(&viewer, &LiveViewer::settingsReceived, this, &PtzPanel::onSettingsReceived);
}

PtzPanel::~PtzPanel() = default;

void PtzPanel::onPaneSelected(int server, int camera)
{
    const auto& sessions = m_viewer.Sessions();
    if (camera < 0 || !sessions.Has(server) || !sessions.Has(m_viewer.Current()))
        return;
    // A key still held moves the camera selected so far: stop that one first.
    m_keyboard->Cancel();
    // The camera's protocol is its own recorder's; the address and the line
    // the commands go to are the current server's.
    const std::string name = ptz::PtzSettingOf(sessions.At(server).record.settings, camera).driverName;
    const auto ptzId = ptz::PtzSettingOf(sessions.At(m_viewer.Current()).record.settings, camera).ptzId;
    m_table->LoadDriver(camera, name, ptzId);
    m_table->SetSelected(camera);
}

void PtzPanel::onSettingsReceived(int index)
{
    if (index != m_viewer.Current() || m_table->Selected() < 0)
        return;
    const auto setting = ptz::PtzSettingOf(m_viewer.Sessions().At(index).record.settings, m_table->Selected());
    m_table->LoadDriver(m_table->Selected(), setting.driverName, setting.ptzId);
}

void PtzPanel::onKeyAction(const ptz::PtzKeyAction& action)
{
    if (action.kind == ptz::PtzKeyAction::Kind::Command)
        m_table->Issue(action.command);
    else
        m_table->Preset(action.preset, action.presetNumber);
}

bool PtzPanel::keysMayAct() const
{
    return m_controller->isVisible() && m_table->SelectedHasDriver();
}
