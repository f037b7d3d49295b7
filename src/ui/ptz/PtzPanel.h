#pragma once

#include "core/ptz/PtzEntryPoints.h"
#include "core/ptz/PtzKeyState.h"
#include "platform/ptz/PtzChannelTable.h"

#include <QObject>

#include <memory>

class CPTZController;
class LiveViewer;
class PtzKeyboard;
class QWidget;

// The main window's PTZ operations: the channel table loaded from the
// sessions' settings blocks as panes are selected, and the commands of the
// panel's buttons and of the keyboard sent to the current server.
class PtzPanel : public QObject {
    Q_OBJECT
public:
    PtzPanel(QWidget* window, LiveViewer& viewer, CPTZController* controller);
    ~PtzPanel() override;

    const PtzChannelTable& Table() const { return *m_table; }

private:
    void onPaneSelected(int server, int camera);
    void onSettingsReceived(int index);
    void onKeyAction(const ptz::PtzKeyAction& action);
    bool keysMayAct() const;

    LiveViewer& m_viewer;
    CPTZController* m_controller;
    std::unique_ptr<PtzChannelTable> m_table;
    PtzKeyboard* m_keyboard = nullptr;
};
