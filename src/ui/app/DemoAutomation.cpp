#include "ui/app/DemoAutomation.h"

#include "core/config/RegConfig.h"
#include "core/servers/DemoServerSeed.h"
#include "ui/app/COrlixDlg.h"

#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QPixmap>
#include <QRegularExpression>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <cstdlib>

namespace {

constexpr int kSettleMs = 1500;
constexpr int kConnectFields = 5;
// Each connection is listed a second after it is asked for; the next waits for that.
constexpr int kConnectSpacingMs = 2000;

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
    const auto connections = ParseDemoConnections(QString::fromLocal8Bit(target));
    if (connections.empty()) {
        std::fprintf(stderr, "OMBREL_CONNECT needs HOST:PORT:PROTOCOL:ACCOUNT:PASSWORD (several separated by spaces)\n");
        return;
    }
    int after = 0;
    for (const DemoConnection& c : connections) {
        QTimer::singleShot(after, dialog, [dialog, c] {
            dialog->Connect(c.host, c.port, c.protocol, c.account, c.password);
        });
        after += kConnectSpacingMs;
    }
}

// Each open box runs an event loop of its own, which would hold the
// window's loop (and so the exit) until someone presses OK.
void CloseMessageBoxes()
{
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* box = qobject_cast<QMessageBox*>(widget); box && box->isVisible())
            box->done(QMessageBox::Ok);
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

std::vector<DemoConnection> ParseDemoConnections(const QString& text)
{
    std::vector<DemoConnection> connections;
    for (const QString& part : text.split(QRegularExpression("\\s+"), Qt::SkipEmptyParts)) {
        auto connection = ParseDemoConnection(part);
        if (!connection)
            return {};
        connections.push_back(*connection);
    }
    return connections;
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
            CloseMessageBoxes();
            if (auto* dialog = qobject_cast<QDialog*>(window))
                dialog->accept();
            else
                window->close();
        });
    }
}
