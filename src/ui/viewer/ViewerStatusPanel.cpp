#include "ui/viewer/ViewerStatusPanel.h"

#include "core/dvr/SettingsBlock.h"
#include "core/viewer/ServerTexts.h"
#include "ui/status/CInformationDlg.h"
#include "ui/viewer/ViewerSessions.h"

#include "ui/controls/CMsgListBox.h"

#include <algorithm>
#include <limits>

namespace {

// As many lines as the message list shows: a session that reconnects all night
// adds lines all night.
void AppendLine(QStringList& lines, const QString& text)
{
    while (lines.size() >= CMsgListBox::kMaxLines)
        lines.removeFirst();
    lines.append(text);
}

} // namespace

ViewerStatusPanel::ViewerStatusPanel(CInformationDlg* info, ViewerSessions& sessions)
    : m_info(info)
    , m_sessions(sessions)
{
}

ViewerStatusPanel::~ViewerStatusPanel()
{
    m_info->SetByteCountSource({});
}

void ViewerStatusPanel::Show(const QString& text)
{
    if (m_sessions.HasCurrent())
        ShowFor(m_sessions.current, text);
    else {
        AppendLine(m_windowLines, text);
        m_info->AddMessage(0, text);
    }
}

void ViewerStatusPanel::ShowFor(int index, const QString& text)
{
    AppendLine(m_sessions.table.At(index).record.statusLines, text);
    m_info->AddMessage(index, text);
}

QStringList ViewerStatusPanel::VisibleLines() const
{
    return m_sessions.HasCurrent() ? m_sessions.Current().record.statusLines : m_windowLines;
}

void ViewerStatusPanel::HandWindowLinesTo(int index)
{
    m_sessions.table.At(index).record.statusLines = m_windowLines;
    m_windowLines.clear();
}

void ViewerStatusPanel::ShowCurrentSession()
{
    m_info->SetCurrentSlot(std::max(m_sessions.current, 0));
    ShowServerTexts();
}

void ViewerStatusPanel::ShowServerTexts()
{
    if (!m_sessions.HasCurrent()) {
        m_info->SetServerTexts({}, {}, {}, {});
        return;
    }
    const auto& row = m_sessions.Current();
    const std::optional<int> type =
        row.record.hasSettings ? std::optional<int>(DvrTypeCode(row.record.settings)) : std::nullopt;
    const ServerTexts texts = DescribeServer(row.descriptor, row.record.typeText.toStdString(), type);
    m_info->SetServerTexts(QString::fromStdString(texts.name), QString::fromStdString(texts.address),
                           QString::fromStdString(texts.model), QString::fromStdString(texts.encoder));
}

void ViewerStatusPanel::ShowPictureSize(int width, int height)
{
    m_info->SetResolution(QString("%1 * %2").arg(width).arg(height));
}

void ViewerStatusPanel::RemoveSlot(int index)
{
    m_info->RemoveSlot(index);
}

void ViewerStatusPanel::StartByteCounts()
{
    m_info->SetByteCountSource([this] { return m_lastSecondBytes; });
}

void ViewerStatusPanel::TakeSecondBytes()
{
    std::uint64_t bytes = 0;
    for (int i = 0; i < m_sessions.table.Count(); ++i)
        bytes += m_sessions.table.At(i).record.live.TakeReceivedBytes();
    m_lastSecondBytes = static_cast<std::uint32_t>(
        std::min<std::uint64_t>(bytes, std::numeric_limits<std::uint32_t>::max()));
}
