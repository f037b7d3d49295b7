#include "ui/servers/CConfigDlg.h"

#include "core/config/RegConfig.h"
#include "core/dvr/NotifyCodes.h"
#include "core/servers/DottedQuad.h"
#include "core/servers/LanguageChoice.h"
#include "core/servers/RegistryBackup.h"
#include "core/servers/ScanRow.h"
#include "platform/app/DrivePaths.h"
#include "platform/ddns/DdnsLookup.h"
#include "platform/netctrl/ZERDNetwork.h"
#include "ui/app/DvrMessageBox.h"
#include "ui/app/WindowTimers.h"
#include "ui/controls/CtrlId.h"
#include "ui/controls/DialogKeys.h"
#include "ui/servers/CScanReceiver.h"
#include "ui/controls/CIpAddressEdit.h"
#include "ui/servers/ConfigListTable.h"
#include "ui/servers/ConfigRegistryTool.h"
#include "ui/viewer/ViewerText.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>

namespace {

const QStringList kAccounts = {"ADMIN", "GUEST0", "GUEST1"};
constexpr int kGuest0 = 1;
const QStringList kProtocols = {"UDP", "TCP"};
constexpr int kTcp = 1;
// What a recorder picked from the scan is logged on with until the operator
// changes it.
const char* const kScanPassword = "5829";
const char* const kDvrKey = "Software\\DVR\\";

QString Q(const std::string& text)
{
    return QString::fromStdString(text);
}

DottedQuad DefaultDdnsServer()
{
    return ParseDottedQuad(ddns::kDefaultServer).value_or(DottedQuad{});
}

QString RegistryFileDialog(QWidget* parent)
{
    QFileDialog dialog(parent);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setDefaultSuffix("reg");
    dialog.setNameFilters({"Registry Files(*.reg)", "All Files(*.*)"});
    dialog.setOption(QFileDialog::ReadOnly);
    return dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty() ? dialog.selectedFiles().front()
                                                                                  : QString();
}

template <typename W>
W* WithId(W* widget, int id)
{
    SetCtrlId(widget, id);
    return widget;
}

} // namespace

CConfigDlg::CConfigDlg(std::function<void()> restartForLanguage, QWidget* parent)
    : QDialog(parent)
    , m_restartForLanguage(std::move(restartForLanguage))
    , m_restorePathProvider([this] { return RegistryFileDialog(this); })
    , m_scanReceiver(new CScanReceiver([this](const DiscoveryRecord& record) { addScanRow(record); }, this))
    , m_timers(new CWindowTimers([this](int id) { scanTimerTicked(id); }, this))
{
    setWindowTitle("Configuration");
    buildControls();

    StartUnicastChannelMonitoring();
    SetNotifyWindow(kMsgDiscoveryRecord, m_scanReceiver->Handle());

    m_otherDns->setChecked(false);
    showDefaultDdnsServer();
    m_accountList->setCurrentIndex(kGuest0);
    m_protocol->setCurrentIndex(kTcp);
    fillModelNames();
    fillServerList();
    selectLanguage();
}

CConfigDlg::~CConfigDlg()
{
    // Also when the dialog goes without having been closed.
    StopUnicastChannelMonitoring();
}

void CConfigDlg::SetRestorePathProvider(std::function<QString()> provider)
{
    m_restorePathProvider = std::move(provider);
}

void CConfigDlg::buildControls()
{
    auto* grid = new QGridLayout(this);

    auto* server = new QGroupBox("Server", this);
    auto* form = new QGridLayout(server);
    m_serverName = WithId(new QLineEdit(server), kServerName);
    m_dvrType = WithId(new QComboBox(server), kDvrType);
    m_ipAddress = WithId(new QLineEdit(server), kIpAddress);
    m_accountList = WithId(new QComboBox(server), kAccountList);
    m_accountList->addItems(kAccounts);
    m_accountText = WithId(new QLineEdit(server), kAccountText);
    m_accountText->hide();
    m_password = WithId(new QLineEdit(server), kPassword);
    m_password->setEchoMode(QLineEdit::Password);
    m_port = WithId(new QLineEdit(server), kPort);
    m_port->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]{0,10}"), m_port));
    m_protocol = WithId(new QComboBox(server), kProtocol);
    m_protocol->addItems(kProtocols);
    m_protocol->setEnabled(false);
    m_otherDns = WithId(new QCheckBox("Using Other DNS ( for DDNS )", server), kOtherDns);
    m_ddnsServer = WithId(new CIpAddressEdit(server), kDdnsServer);
    int line = 0;
    for (auto [label, field] : std::initializer_list<std::pair<const char*, QWidget*>>{
             {"Server Name", m_serverName}, {"DVR Type", m_dvrType}, {"IP Address", m_ipAddress},
             {"Account", m_accountList}, {"Password", m_password}, {"Port", m_port}, {"Protocol", m_protocol}}) {
        form->addWidget(new QLabel(label, server), line, 0);
        form->addWidget(field, line++, 1);
    }
    form->addWidget(m_otherDns, line++, 0, 1, 2);
    form->addWidget(new QLabel("DDNS Server", server), line, 0);
    form->addWidget(m_ddnsServer, line++, 1);
    grid->addWidget(server, 0, 0, 2, 1);

    auto* scan = new QGroupBox("DVR List", this);
    auto* scanColumn = new QVBoxLayout(scan);
    m_scanList = WithId(new ConfigListTable({{"Mac Adderss", 100}, {"IP Address", 150}, {"DVR Type", 70}, {"Port", 50}},
                                            Qt::AlignLeft, scan),
                        kScanList);
    scanColumn->addWidget(m_scanList);
    grid->addWidget(scan, 0, 1);

    auto* servers = new QGroupBox("Server List", this);
    auto* serverColumn = new QVBoxLayout(servers);
    m_serverList = WithId(new ConfigListTable({{"Server Name", 100}, {"IP Address", 102}, {"DVR Type", 65},
                                               {"Port", 40}, {"Protocol", 52}},
                                              Qt::AlignHCenter, servers),
                          kServerList);
    serverColumn->addWidget(m_serverList);
    grid->addWidget(servers, 1, 1);

    auto* language = new QGroupBox("Language", this);
    auto* languageRow = new QHBoxLayout(language);
    m_language = WithId(new QComboBox(language), kLanguage);
    for (const char* name : kLanguageNames)
        m_language->addItem(name);
    languageRow->addWidget(m_language);
    grid->addWidget(language, 2, 0);

    auto button = [this](const char* text, int id, std::function<void()> handler) {
        auto* push = WithId(new QPushButton(text, this), id);
        // Enter never presses a button: only a click does.
        push->setAutoDefault(false);
        connect(push, &QPushButton::clicked, this, std::move(handler));
        return push;
    };
    languageRow->addWidget(button("Language Apply", kLanguageApplyButton, [this] { applyLanguage(); }));
    scanColumn->addWidget(button("ScanDVR", kScanButton, [this] { startScan(); }), 0, Qt::AlignRight);

    auto* edits = new QHBoxLayout();
    edits->addWidget(button("Add", kAddButton, [this] { editServer(ServerEdit::Add); }));
    edits->addWidget(button("Modify", kModifyButton, [this] { editServer(ServerEdit::Modify); }));
    edits->addWidget(button("Delete", kDeleteButton, [this] { editServer(ServerEdit::Delete); }));
    form->setRowStretch(line++, 1);
    form->addLayout(edits, line, 0, 1, 2);

    auto* bottom = new QHBoxLayout();
    bottom->addWidget(button("Save", kSaveButton, [this] { saveRegistry(); }));
    bottom->addWidget(button("Restore", kRestoreButton, [this] { restoreRegistry(); }));
    bottom->addStretch();
    bottom->addWidget(button("Exit", kExitButton, [this] { exitDialog(); }));
    grid->addLayout(bottom, 2, 1);

    connect(m_accountList, &QComboBox::currentTextChanged, m_accountText, &QLineEdit::setText);
    connect(m_otherDns, &QCheckBox::clicked, this, [this](bool checked) { otherDnsClicked(checked); });
    connect(m_serverList, &QTableWidget::cellDoubleClicked, this, [this](int row, int) { loadServer(row); });
    connect(m_scanList, &QTableWidget::cellDoubleClicked, this, [this](int row, int) { pickScanRow(row); });
}

void CConfigDlg::fillModelNames()
{
    CRegConfig reg;
    m_modelNames = ServerDirectory(reg).ModelNames();
    m_dvrType->clear();
    for (const std::string& name : m_modelNames)
        m_dvrType->addItem(Q(name));
    m_dvrType->setCurrentIndex(0);
}

void CConfigDlg::fillServerList()
{
    m_serverList->setRowCount(0);
    CRegConfig reg;
    int row = 0;
    for (const ServerRecord& record : ServerDirectory(reg).List())
        m_serverList->InsertRow(row++, {Q(record.name), Q(record.ip), Q(record.dvrType), Q(PortText(record.port)),
                                        Q(record.protocol)});
}

void CConfigDlg::selectLanguage()
{
    CRegConfig reg;
    int language = reg.SetKey(kDvrKey, false) ? reg.ReadInt("Language", 0) : 0;
    m_language->setCurrentIndex(LanguageListRow(language));
}

void CConfigDlg::showDefaultDdnsServer()
{
    m_ddnsServer->setEnabled(false);
    m_ddnsServer->SetAddress(DefaultDdnsServer());
    m_ddnsServerText = Q(FormatDottedQuad(DefaultDdnsServer()));
}

ServerForm CConfigDlg::readForm() const
{
    ServerForm form;
    form.name = m_serverName->text().toStdString();
    form.dvrType = m_dvrType->currentText().toStdString();
    form.ip = m_ipAddress->text().toStdString();
    form.account = m_accountList->currentText().toStdString();
    form.password = m_password->text().toStdString();
    form.port = m_port->text().toStdString();
    form.protocol = m_protocol->currentText().toStdString();
    form.ddns = FormatDottedQuad(m_ddnsServer->Address());
    return form;
}

void CConfigDlg::focusField(FormField field)
{
    QWidget* target = nullptr;
    switch (field) {
    case FormField::ServerName: target = m_serverName; break;
    case FormField::DvrType: target = m_dvrType; break;
    case FormField::Password: target = m_password; break;
    case FormField::IpAddress: target = m_ipAddress; break;
    case FormField::Port: target = m_port; break;
    case FormField::None: break;
    }
    if (target)
        target->setFocus();
}

void CConfigDlg::editServer(ServerEdit edit)
{
    const ServerForm form = readForm();
    CRegConfig reg;
    ServerDirectory directory(reg);
    const ServerEditPlan plan = PlanServerEdit(edit, form, directory.Exists(form.name));
    switch (plan.action) {
    case ServerEditPlan::Action::Stop:
        inform(TextOf(plan.message));
        focusField(plan.focus);
        return;
    case ServerEditPlan::Action::Write:
        m_ddnsServerText = Q(plan.record.ddns);
        m_accountText->setText(Q(plan.record.account));
        inform(TextOf(directory.Write(plan.record) ? plan.message : plan.failure));
        fillServerList();
        return;
    case ServerEditPlan::Action::Remove:
        if (!directory.Remove(plan.record.name)) {
            inform(TextOf(plan.failure));
            return;
        }
        fillServerList();
        inform(TextOf(plan.message));
        return;
    }
}

void CConfigDlg::loadServer(int row)
{
    if (m_serverList->rowCount() == 0 || row < 0)
        return;
    m_otherDns->setChecked(false);
    showDefaultDdnsServer();

    const QString name = m_serverList->Text(row, 0);
    m_serverName->setText(name);
    CRegConfig reg;
    const std::optional<ServerRecord> record = ServerDirectory(reg).Find(name.toStdString());
    if (!record)
        return;
    m_ipAddress->setText(Q(record->ip));
    m_port->setText(Q(PortText(record->port)));
    int account = m_accountList->findText(Q(record->account));
    if (account >= 0)
        m_accountList->setCurrentIndex(account);
    m_password->setText(Q(record->password));
    // A DDNS text that is no address leaves the control at 0.0.0.0.
    m_ddnsServer->SetAddress(ParseDottedQuad(record->ddns).value_or(DottedQuad{}));
    int type = m_dvrType->findText(Q(record->dvrType));
    if (type >= 0)
        m_dvrType->setCurrentIndex(type);
    m_protocol->setCurrentIndex(record->protocol == "TCP" ? kTcp : 0);
}

void CConfigDlg::otherDnsClicked(bool checked)
{
    if (!checked) {
        showDefaultDdnsServer();
        return;
    }
    m_ddnsServer->setEnabled(true);
    m_ddnsServer->SetAddress(DottedQuad{});
}

void CConfigDlg::startScan()
{
    m_scanRows = 0;
    m_scanList->setRowCount(0);
    ZERDScan();
    // The library does not say when the answers are all in: the dialog ends
    // the scan itself.
    m_timers->SetTimer(kScanTimer, kScanWaitMs);
}

void CConfigDlg::addScanRow(const DiscoveryRecord& record)
{
    const ScanRow row = FormatScanRow(record, m_modelNames);
    m_scanList->InsertRow(m_scanRows++, {Q(row.mac), Q(row.ip), Q(row.dvrType), Q(row.port)});
}

void CConfigDlg::scanTimerTicked(int id)
{
    if (id != kScanTimer)
        return;
    // Killed before the box shows, so a box left open does not pile up more.
    m_timers->KillTimer(kScanTimer);
    const int found = m_scanList->rowCount();
    if (found > 0)
        DvrMessageBox(this, QString(" Found %1 DVR!").arg(found), QString(), QMessageBox::NoIcon);
    else
        inform(TextOf(LangText::Id(6000)));
}

void CConfigDlg::pickScanRow(int row)
{
    if (row < 0 || row >= m_scanList->rowCount())
        return;
    m_ipAddress->setText(m_scanList->Text(row, 1));
    m_port->setText(QString::number(m_scanList->Text(row, 3).toUInt()));
    m_accountList->setCurrentIndex(kGuest0);
    m_password->setText(kScanPassword);
    m_serverName->clear();
    m_protocol->setCurrentIndex(kTcp);
    int type = m_dvrType->findText(m_scanList->Text(row, 2));
    if (type >= 0)
        m_dvrType->setCurrentIndex(type);
}

void CConfigDlg::saveRegistry()
{
    if (DvrMessageBox(this, TextOf(LangText::Id(6014)), "DVR", QMessageBox::Question,
                      QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes)
        != QMessageBox::Yes)
        return;
    const QDateTime now = QDateTime::currentDateTime();
    const LocalTime time{now.date().year(), now.date().month(), now.date().day(),
                         now.time().hour(), now.time().minute(), now.time().second()};
    const std::string path = BackupFilePath(time);
    if (!RunRegistryEditor(ExportArguments(path), Q(drive::InstallFolder()))) {
        inform(TextOf(LangText::Id(kStrBackupCreateFailed)));
        return;
    }
    // The folder standing for c:\ is where the operator finds the file.
    inform(Q(drive::MapWindowsPath(path)) + " is Created");
}

void CConfigDlg::restoreRegistry()
{
    const QString path = m_restorePathProvider();
    if (path.isEmpty())
        return;
    const bool restored = RunRegistryEditor(ImportArguments(path.toStdString()), QString());
    fillServerList();
    if (!restored)
        inform(TextOf(LangText::Id(kStrBackupRestoreFailed)));
}

void CConfigDlg::applyLanguage()
{
    const int row = m_language->currentIndex();
    if (row < 0 || m_language->currentText().isEmpty())
        return;
    CRegConfig reg;
    if (!reg.SetKey(kDvrKey, false)) {
        DvrMessageBox(this, "Registry Key is not found", QString(), QMessageBox::NoIcon);
        return;
    }
    if (!reg.WriteInt("Language", row)) {
        inform(TextOf(LangText::Id(kStrLanguageNotSaved)));
        return;
    }
    accept();
    if (m_restartForLanguage)
        m_restartForLanguage();
}

void CConfigDlg::exitDialog()
{
    accept();
}

void CConfigDlg::done(int result)
{
    // However the dialog ends, the LAN monitoring it started ends with it.
    m_timers->KillTimer(kScanTimer);
    StopUnicastChannelMonitoring();
    QDialog::done(result);
}

void CConfigDlg::keyPressEvent(QKeyEvent* event)
{
    if (!SwallowDialogCloseKey(event))
        QDialog::keyPressEvent(event);
}

void CConfigDlg::inform(const QString& text)
{
    DvrMessageBox(this, text, "DVR", QMessageBox::Information);
}
