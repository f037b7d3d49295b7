#include "ui/app/DemoAutomation.h"

#include <QDialog>
#include <QPixmap>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <cstdlib>

namespace {

constexpr int kSettleMs = 1500;

} // namespace

void ArmDemoAutomation(QWidget* window)
{
    if (const char* shot = std::getenv("OMBREL_SCREENSHOT"); shot && *shot) {
        QString path = QString::fromLocal8Bit(shot);
        QTimer::singleShot(kSettleMs, window, [window, path] {
            if (window->grab().save(path, "PNG"))
                std::printf("screenshot: %s\n", qPrintable(path));
            else
                std::fprintf(stderr, "screenshot could not be saved to %s\n", qPrintable(path));
            std::fflush(stdout);
        });
    }
    if (const char* after = std::getenv("OMBREL_EXIT_AFTER_MS"); after && *after) {
        int ms = std::atoi(after);
        QTimer::singleShot(ms > 0 ? ms : kSettleMs * 2, window, [window] {
            if (auto* dialog = qobject_cast<QDialog*>(window))
                dialog->accept();
            else
                window->close();
        });
    }
}
