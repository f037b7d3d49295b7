#pragma once

#include <QFont>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>

class CBarChart;
class CMsgListBox;
class CPerfMon;
class QTimer;

// The information panel: the current server's texts, the received bit rate,
// the host's processor load as text and bar, and one message list per
// session slot, of which the current slot's is shown.
class CInformationDlg : public QWidget {
    Q_OBJECT
public:
    static constexpr int kSlots = 16;
    static constexpr int kWidth = 200;
    static constexpr int kHeight = 180;
    static constexpr int kRateTimerMs = 1000;  // timer 1
    static constexpr int kCpuTimerMs = 1000;   // timer 2

    // procStatPath names the processor counter file; tests point it elsewhere.
    explicit CInformationDlg(QWidget* parent = nullptr, const QString& procStatPath = QStringLiteral("/proc/stat"));
    ~CInformationDlg() override;

    void SetServerTexts(const QString& server, const QString& ip, const QString& type, const QString& encoder);
    QString TypeText() const { return m_type; }
    // "%d * %d" of the selected channel's picture, or empty.
    void SetResolution(const QString& text);

    // Which slot's messages are shown; out-of-range slots are ignored.
    void SetCurrentSlot(int slot);
    int CurrentSlot() const { return m_currentSlot; }

    // Appends "hh:mm:ss text" (local time) and selects the new line.
    void AddMessage(const QString& text);
    void AddMessage(int slot, const QString& text);
    QStringList Messages(int slot) const;
    void ClearMessages(int slot);
    // The slot's session went away: later slots move up one place and the
    // last slot starts empty, as the sessions themselves do.
    void RemoveSlot(int slot);

    // Reads and zeroes the received-byte counter of the last second. While a
    // source is set timer 1 runs; an empty function stops it and shows 0 kbps.
    void SetByteCountSource(std::function<uint32_t()> source);
    uint32_t Kbps() const { return m_kbps; }

    // Last processor load in percent, or -999 when it could not be had.
    int CpuLoad() const { return m_cpuLoad; }
    // "%d%%" of the load, "FAIL", or empty before the first reading.
    QString CpuText() const { return m_cpuText; }
    // Minimum, maximum and average of the recent loads, each "N/A" without data.
    QString CpuMinimumText() const { return m_statisticTexts[0]; }
    QString CpuMaximumText() const { return m_statisticTexts[1]; }
    QString CpuAverageText() const { return m_statisticTexts[2]; }
    // False when the counter could not be opened at start; the load then stays idle.
    bool CpuAvailable() const { return m_cpuAvailable; }

    // What timers 1 and 2 do, callable at once.
    void UpdateRate();
    void UpdateCpu();

    CBarChart* BarChart() const { return m_barChart; }
    CMsgListBox* MessageList(int slot) const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool validSlot(int slot) const { return slot >= 0 && slot < kSlots; }
    void showCurrentList();
    void paintPanel(QPainter& painter) const;

    QFont m_labelFont;
    QFont m_valueFont;
    QFont m_listFont;
    QString m_server;
    QString m_ip;
    QString m_type;
    QString m_encoder;
    QString m_resolution;

    std::array<CMsgListBox*, kSlots> m_lists{};
    int m_currentSlot = 0;

    std::function<uint32_t()> m_byteCount;
    uint32_t m_kbps = 0;
    QTimer* m_rateTimer;

    std::unique_ptr<CPerfMon> m_perfMon;
    bool m_cpuAvailable = false;
    bool m_queryFailing = false;  // "Failed Query!" is shown once per run of failures
    int m_cpuLoad;
    QString m_cpuText;
    std::array<QString, 3> m_statisticTexts;
    CBarChart* m_barChart;
    QTimer* m_cpuTimer;
};
