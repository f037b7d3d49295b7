#include "ui/status/CInformationDlg.h"

#include <QPainter>
#include <QTime>
#include <QTimer>

#include "core/status/BitRate.h"
#include "core/status/CpuLoadSampler.h"
#include "platform/status/CPerfMon.h"
#include "ui/app/AppFonts.h"
#include "ui/app/DvrMessageBox.h"
#include "ui/controls/CMsgListBox.h"
#include "ui/status/CBarChart.h"
#include "ui/status/FittedText.h"

namespace {

const QColor kLabelColour(128, 128, 0);
const QColor kValueColour(220, 220, 112);
const QColor kPercentColour(0, 255, 0);
const QColor kBackground(0, 0, 0);

const QRect kServerTextsArea(QPoint(60, 2), QPoint(199, 74));
const QRect kResolutionArea(QPoint(75, 54), QPoint(199, 66));
const QRect kRateArea(QPoint(4, 69), QPoint(149, 84));
const QRect kPercentArea(QPoint(124, 69), QPoint(160, 84));
// The list takes the panel's whole width and wraps long status lines, so a
// line is read whole instead of behind a sideways scroll bar.
const QRect kListArea(5, 130, 190, 48);
const QRect kBarChartArea(116, 85, 40, 45);
constexpr int kValueX = 60;
constexpr int kResolutionX = 75;
constexpr int kPercentX = 125;
constexpr int kPercentSignX = 144;
const QString kNotAvailable = QStringLiteral("N/A");

QFont Tahoma(int pixelHeight, bool bold)
{
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(pixelHeight);
    font.setBold(bold);
    return font;
}

} // namespace

CInformationDlg::CInformationDlg(QWidget* parent, const QString& procStatPath)
    : QWidget(parent),
      m_labelFont(Tahoma(13, true)),
      m_valueFont(Tahoma(13, false)),
      m_listFont(AppFonts::WithLanguageFallback(Tahoma(11, false))),
      m_rateTimer(new QTimer(this)),
      m_perfMon(std::make_unique<CPerfMon>(procStatPath.toStdString())),
      m_cpuLoad(CpuLoadSampler::kFailure),
      m_barChart(new CBarChart(this)),
      m_cpuTimer(new QTimer(this))
{
    setFixedSize(kWidth, kHeight);
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_statisticTexts.fill(kNotAvailable);
    for (CMsgListBox*& list : m_lists) {
        list = new CMsgListBox(this);
        list->setFont(m_listFont);
        list->setGeometry(kListArea);
        list->setWordWrap(true);
        list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    }
    showCurrentList();

    m_barChart->setGeometry(kBarChartArea);
    m_barChart->SetPos(0);

    m_rateTimer->setInterval(kRateTimerMs);
    connect(m_rateTimer, &QTimer::timeout, this, &CInformationDlg::UpdateRate);

    m_cpuAvailable = m_perfMon->Open();
    if (!m_cpuAvailable) {
        DvrMessageBox(this, QStringLiteral("Could not initialize CPerfMon!"), QStringLiteral("DVR"),
                      QMessageBox::Warning);
        return;
    }
    m_barChart->SetRange(0, 100);
    m_cpuTimer->setInterval(kCpuTimerMs);
    connect(m_cpuTimer, &QTimer::timeout, this, &CInformationDlg::UpdateCpu);
    m_cpuTimer->start();
}

CInformationDlg::~CInformationDlg() = default;

void CInformationDlg::SetServerTexts(const QString& server, const QString& ip, const QString& type,
                                     const QString& encoder)
{
    m_server = server;
    m_ip = ip;
    m_type = type;
    m_encoder = encoder;
    update(kServerTextsArea);
}

void CInformationDlg::SetResolution(const QString& text)
{
    m_resolution = text;
    update(kResolutionArea);
}

void CInformationDlg::SetCurrentSlot(int slot)
{
    if (!validSlot(slot))
        return;
    m_currentSlot = slot;
    showCurrentList();
}

void CInformationDlg::AddMessage(const QString& text)
{
    AddMessage(m_currentSlot, text);
}

void CInformationDlg::AddMessage(int slot, const QString& text)
{
    if (!validSlot(slot))
        return;
    const QTime now = QTime::currentTime();
    m_lists[slot]->AddMessage(QString::asprintf("%02d:%02d:%02d ", now.hour(), now.minute(), now.second()) + text);
}

QStringList CInformationDlg::Messages(int slot) const
{
    QStringList lines;
    if (!validSlot(slot))
        return lines;
    for (int i = 0; i < m_lists[slot]->count(); ++i)
        lines.append(m_lists[slot]->item(i)->text());
    return lines;
}

void CInformationDlg::ClearMessages(int slot)
{
    if (validSlot(slot))
        m_lists[slot]->clear();
}

void CInformationDlg::RemoveSlot(int slot)
{
    if (!validSlot(slot))
        return;
    CMsgListBox* removed = m_lists[slot];
    std::move(m_lists.begin() + slot + 1, m_lists.end(), m_lists.begin() + slot);
    removed->clear();
    m_lists.back() = removed;
    showCurrentList();
}

CMsgListBox* CInformationDlg::MessageList(int slot) const
{
    return validSlot(slot) ? m_lists[slot] : nullptr;
}

void CInformationDlg::showCurrentList()
{
    for (int i = 0; i < kSlots; ++i)
        m_lists[i]->setVisible(i == m_currentSlot);
}

void CInformationDlg::SetByteCountSource(std::function<uint32_t()> source)
{
    m_byteCount = std::move(source);
    if (m_byteCount) {
        m_rateTimer->start();
        return;
    }
    m_rateTimer->stop();
    m_kbps = 0;
    update(kRateArea);
}

void CInformationDlg::UpdateRate()
{
    m_kbps = m_byteCount ? KbpsFromBytes(m_byteCount()) : 0;
    update(kRateArea);
}

void CInformationDlg::UpdateCpu()
{
    if (!m_cpuAvailable)
        return;
    const bool collected = m_perfMon->Collect();
    // A counter that keeps failing would otherwise raise a box every second.
    const bool newFailure = !collected && !m_queryFailing;
    m_queryFailing = !collected;

    m_cpuLoad = m_perfMon->Value();
    if (m_cpuLoad == CpuLoadSampler::kFailure) {
        m_barChart->SetPos(0);
        m_cpuText = QStringLiteral("FAIL");
    } else {
        m_cpuText = QString::asprintf("%d%%", m_cpuLoad);
        m_barChart->SetPos(m_cpuLoad);
        if (const std::optional<LoadSummary> statistics = m_perfMon->Statistics())
            m_statisticTexts = {QString::number(statistics->minimum), QString::number(statistics->maximum),
                                QString::number(statistics->average)};
    }
    update(kPercentArea);

    // Last: the box runs its own event loop, in which this timer ticks on.
    if (newFailure)
        DvrMessageBox(this, QStringLiteral("Failed Query!"), QStringLiteral("DVR"), QMessageBox::Warning);
}

void CInformationDlg::paintEvent(QPaintEvent*)
{
    // Drawn off screen first and shown in one copy, so it never flickers.
    QImage frame(size(), QImage::Format_RGB32);
    QPainter offscreen(&frame);
    paintPanel(offscreen);
    offscreen.end();
    QPainter(this).drawImage(0, 0, frame);
}

void CInformationDlg::paintPanel(QPainter& painter) const
{
    painter.fillRect(rect(), kBackground);
    painter.setBackgroundMode(Qt::TransparentMode);

    // Labels end where the values begin.
    painter.setFont(m_labelFont);
    painter.setPen(kLabelColour);
    DrawFittedText(painter, 5, 2, QStringLiteral("Server : "), kValueX - 7);
    DrawFittedText(painter, 5, 15, QStringLiteral("IP : "), kValueX - 7);
    DrawFittedText(painter, 5, 28, QStringLiteral("Type : "), kValueX - 7);
    DrawFittedText(painter, 5, 41, QStringLiteral("Encoder : "), kValueX - 7);
    DrawFittedText(painter, 5, 54, QStringLiteral("Resolution : "), kResolutionX - 7);

    painter.setFont(m_valueFont);
    painter.setPen(kValueColour);
    DrawFittedText(painter, kValueX, 2, m_server, kWidth - kValueX);
    DrawFittedText(painter, kValueX, 15, m_ip, kWidth - kValueX);
    DrawFittedText(painter, kValueX, 28, m_type, kWidth - kValueX);
    DrawFittedText(painter, kValueX, 41, m_encoder, kWidth - kValueX);
    DrawFittedText(painter, kResolutionX, 54, m_resolution, kWidth - kResolutionX);

    painter.setPen(kLabelColour);
    DrawFittedText(painter, 5, 70, QString::asprintf("%u kbps", m_kbps), kPercentX - 10);

    painter.setPen(kPercentColour);
    DrawFittedText(painter, kPercentX, 70, QString::asprintf("%3.f", m_barChart->GetPos()), kPercentSignX - kPercentX);
    DrawFittedText(painter, kPercentSignX, 70, QStringLiteral("%"), kWidth - kPercentSignX);
}
