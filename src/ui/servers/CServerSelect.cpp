#include "ui/servers/CServerSelect.h"

#include "core/app/LangString.h"
#include "core/config/RegConfig.h"
#include "core/servers/ServerPick.h"
#include "core/servers/ServerSelectHost.h"
#include "platform/ddns/DdnsLookup.h"
#include "ui/app/DvrMessageBox.h"
#include "ui/controls/CtrlId.h"
#include "ui/servers/ConfigListTable.h"
#include "ui/viewer/ViewerText.h"

#include <QKeyEvent>
#include <QVBoxLayout>

namespace {

constexpr int kDialogWidth = 404;
constexpr int kDialogHeight = 220;

QString Text(const std::string& text)
{
    return QString::fromStdString(text);
}

} // namespace

CServerSelect::CServerSelect(ServerSelectHost& host, QWidget* parent)
    : QDialog(parent)
    , m_host(host)
    , m_list(new ConfigListTable({{"Server Name", 100}, {"IP Address", 120}, {"DVR Type", 70}, {"Port", 40},
                                  {"Protocol", 53}},
                                 Qt::AlignHCenter, this))
{
    setWindowTitle("Registered Server List");
    setProperty("dialogId", kDialogId);
    resize(kDialogWidth, kDialogHeight);
    SetCtrlId(m_list, kServerList);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_list);
    connect(m_list, &QTableWidget::cellDoubleClicked, this, [this] { pick(); });
    fillList();
}

void CServerSelect::fillList()
{
    CRegConfig reg;
    const std::vector<ServerRecord> records = ServerDirectory(reg).List();
    m_serverCount = static_cast<int>(records.size());
    int row = 0;
    for (const ServerRecord& record : records)
        m_list->InsertRow(row++, {Text(record.name), Text(record.ip), Text(record.dvrType), Text(PortText(record.port)),
                                  Text(record.protocol)});
}

void CServerSelect::pick()
{
    PickState state;
    state.listEmpty = m_list->rowCount() == 0;
    state.liveRunning = m_host.IsLiveRunning();
    if (const int row = m_list->SelectedRow(); row >= 0)
        state.selectedName = m_list->Text(row, 0).toStdString();
    state.openServerNames = m_host.OpenServerNames();
    state.liveChannelsInUse = m_host.LiveChannelsInUse();
    state.firstSlotDvrType = m_host.FirstSlotDvrType();
    if (state.selectedName) {
        CRegConfig reg;
        ServerDirectory directory(reg);
        state.record = directory.Find(*state.selectedName);
        state.models = directory.ModelNames();
    }

    const PickPlan plan = PlanServerPick(state);
    if (plan.setCurrentName)
        m_host.SetCurrentServerName(*state.selectedName);
    if (plan.handCredentials)
        m_host.SetCredentials(state.record->account, state.record->password);
    switch (plan.step) {
    case PickPlan::Step::Nothing:
        break;
    case PickPlan::Step::Message:
        DvrMessageBox(this, TextOf(LangText::Id(plan.messageId)), "DVR", QMessageBox::Information);
        break;
    case PickPlan::Step::CloseDialog:
        accept();
        break;
    case PickPlan::Step::Connect:
        connectTo(*state.record, plan.address);
        break;
    case PickPlan::Step::ResolveDdns:
        if (const auto address = resolve(*state.record))
            connectTo(*state.record, *address);
        break;
    }
}

std::optional<std::string> CServerSelect::resolve(const ServerRecord& record)
{
    const DdnsLookupResult result = ResolveDdnsName(record.ip, record.ddns, m_ddnsPort);
    if (result.kind == DdnsLookupResult::Resolved)
        return result.address;
    if (const std::string_view message = DdnsLookupMessage(result.kind); !message.empty())
        DvrMessageBox(this, QString::fromUtf8(message.data(), static_cast<int>(message.size())), QString(),
                      QMessageBox::NoIcon);
    return std::nullopt;
}

void CServerSelect::connectTo(const ServerRecord& record, const std::string& address)
{
    // The record's port is used even when the DDNS server named another.
    const ServerDescriptor server{record.name, address};
    if (m_host.Connect(address, PortText(record.port), record.protocol, record.account, record.password, server))
        m_host.SetCurrentServerType(record.dvrType, server);
    accept();
}

void CServerSelect::keyPressEvent(QKeyEvent* event)
{
    // Only a double-click picks; Escape still cancels.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
