#pragma once

#include <QStringList>

#include <cstdint>

class CInformationDlg;
struct ViewerSessions;

// What the information panel shows for the viewer: each session's status
// lines (the window's own while no session is open), the current server's
// texts, the selected pane's picture size and the last second's byte count.
class ViewerStatusPanel {
public:
    ViewerStatusPanel(CInformationDlg* info, ViewerSessions& sessions);
    // The panel may outlive the viewer: its rate timer stops asking for counts.
    ~ViewerStatusPanel();
    ViewerStatusPanel(const ViewerStatusPanel&) = delete;
    ViewerStatusPanel& operator=(const ViewerStatusPanel&) = delete;

    // A line of the current session (of the window while there is none).
    void Show(const QString& text);
    void ShowFor(int index, const QString& text);
    // The current session's lines, or the window's.
    QStringList VisibleLines() const;
    // The first session opened takes over what the window said before it.
    void HandWindowLinesTo(int index);
    // Another session became current: its messages and server texts.
    void ShowCurrentSession();
    void ShowServerTexts();
    void ShowPictureSize(int width, int height);
    void RemoveSlot(int index);

    // The panel's rate line starts asking for the count.
    void StartByteCounts();
    // Timer 4000: takes every session's received bytes as the last second's count.
    void TakeSecondBytes();

private:
    CInformationDlg* m_info;
    ViewerSessions& m_sessions;
    QStringList m_windowLines;            // said before any session was opened
    std::uint32_t m_lastSecondBytes = 0;  // received over all sessions in the last second
};
