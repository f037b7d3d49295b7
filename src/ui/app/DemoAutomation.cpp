#include "ui/app/DemoAutomation.h"

#include "core/config/RegConfig.h"
#include "core/servers/DemoServerSeed.h"
#include "ui/app/COrlixDlg.h"

#include <QDialog>
#include <QPixmap>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <cstdlib>

namespace {

constexpr int kSettleMs = 1500;
constexpr int kConnectFields = 5;

int EnvMilliseconds(const char* name, int fallback)
{
    const char* value = std::getenv(name);
    const int ms = value ? std::atoi(value) : 0;
    return ms > 0 ? ms : fallback;
}

void ArmConnect(QWidget* window)
{
    const char* target = std::getenv("OMBREL_CONNECT");
    auto* dialog = qobject_cast<COrlixDlg*>(window);
    if (!target || !*target || !dialog)
        return;
    const auto connection = ParseDemoConnection(QString::fromLocal8Bit(target));
    if (!connection) {
        std::fprintf(stderr, "OMBREL_CONNECT needs HOST:PORT:PROTOCOL:ACCOUNT:PASSWORD\n");
        return;
    }
    QTimer::singleShot(0, dialog, [dialog, c = *connection] {
        dialog->Connect(c.host, c.port, c.protocol, c.account, c.password);
    });
}

void SeedServer()
{
    const char* seed = std::getenv("OMBREL_SEED_SERVER");
    if (!seed || !*seed)
        return;
    CRegConfig reg;
    if (SeedEmulatorServer(reg))
        std::printf("registered server \"%s\"\n", EmulatorServerRecord().name.c_str());
}

} // namespace

std::optional<DemoConnection> ParseDemoConnection(const QString& text)
{
    const QStringList parts = text.split(':');
    if (parts.size() < kConnectFields)
        return std::nullopt;
    return DemoConnection{parts[0], parts[1], parts[2], parts[3], parts.mid(kConnectFields - 1).join(':')};
}

void ArmDemoAutomation(QWidget* window)
{
    SeedServer();
    ArmConnect(window);
    if (const char* shot = std::getenv("OMBREL_SCREENSHOT"); shot && *shot) {
        QString path = QString::fromLocal8Bit(shot);
        QTimer::singleShot(EnvMilliseconds("OMBREL_SCREENSHOT_AFTER_MS", kSettleMs), window, [window, path] {
            if (window->grab().save(path, "PNG"))
                std::printf("screenshot: %s\n", qPrintable(path));
            else
                std::fprintf(stderr, "screenshot could not be saved to %s\n", qPrintable(path));
            std::fflush(stdout);
        });
    }
    if (std::getenv("OMBREL_EXIT_AFTER_MS")) {
        QTimer::singleShot(EnvMilliseconds("OMBREL_EXIT_AFTER_MS", kSettleMs * 2), window, [window] {
            if (auto* dialog = qobject_cast<QDialog*>(window))
                dialog->accept();
            else
                window->close();
        });
    }
}
