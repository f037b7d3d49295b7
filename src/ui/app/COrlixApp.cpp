#include "ui/app/COrlixApp.h"

#include "core/app/LangString.h"
#include "core/app/StartupSettings.h"
#include "core/config/RegistryBackend.h"
#include "platform/app/DrivePaths.h"
#include "platform/netctrl/ZERDNetwork.h"
#include "platform/registry/RegistryHostKeyPins.h"
#include "platform/registry/SqliteRegistry.h"
#include "ui/app/AppFonts.h"
#include "ui/app/AppLook.h"
#include "ui/app/COrlixDlg.h"
#include "ui/app/DemoAutomation.h"
#include "ui/app/DvrMessageBox.h"
#include "ui/app/QtTranslations.h"
#include "ui/app/TerminationSignals.h"

#include <QApplication>

#include <cstdio>

namespace {

constexpr int kStringStoreMovedAside = 9001;

// Ends the program as the close button does. Dialogs open over the window
// (message boxes, the setup pages) close first: the window's own loop can
// only end after theirs.
void CloseForTermination(QDialog& window)
{
    for (int open = 0; open < 16; ++open) {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || modal == &window)
            break;
        if (auto* dialog = qobject_cast<QDialog*>(modal))
            dialog->reject();
        else
            modal->close();
    }
    window.accept();
}

} // namespace

bool COrlixApp::LoadLanguagePack(const QString& fileName)
{
    AppFonts::Create(fileName);
    QApplication::setFont(AppFonts::ApplicationFont(fileName));
    std::string error;
    auto pack = LanguagePack::LoadFile(drive::InstallFolder() + "/" + fileName.toStdString(), &error);
    if (!pack) {
        DvrMessageBox(nullptr, "Language Pack not Found (" + fileName + ")", "DVR", QMessageBox::NoIcon);
        return false;
    }
    SetLanguagePack(std::move(pack));
    return true;
}

void COrlixApp::openConfigurationStore()
{
    RegistryOpenResult store = OpenUserRegistry();
    if (!store.backend)
        std::fprintf(stderr, "Ombrel: settings cannot be kept: %s\n", store.error.c_str());
    SetRegistryBackend(store.backend);
    // Recorders' keys are pinned where the server records are, before any session.
    if (store.backend)
        CZERDNetwork::SetHostKeyVerifier(std::make_shared<RegistryHostKeyPins>(store.backend));
    m_movedAsideStore = QString::fromStdString(store.movedAsidePath);
}

int COrlixApp::Run()
{
    openConfigurationStore();
    StartupSettings settings = ReadStartupSettings();
    m_languageIndex = settings.language;
    AppLook::Apply(m_languageIndex);
    InstallQtTranslations(m_languageIndex);

    if (!LoadLanguagePack(QString::fromStdString(LanguagePackFileName(m_languageIndex))))
        return 1;

    if (!m_movedAsideStore.isEmpty())
        DvrMessageBox(nullptr,
                      QString::fromStdString(
                          FormatLangString(kStringStoreMovedAside, {m_movedAsideStore.toStdString()})),
                      "DVR", QMessageBox::Warning);

    MainWindowOptions options;
    options.languageIndex = m_languageIndex;
    COrlixDlg dialog(nullptr, options);
    TerminationSignals termination;
    QObject::connect(&termination, &TerminationSignals::received, &dialog,
                     [&dialog] { CloseForTermination(dialog); });
    ArmDemoAutomation(&dialog);
    dialog.exec();
    return 0;
}
