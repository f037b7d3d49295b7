#pragma once

#include <QString>
#include <QWidget>

#include <ctime>
#include <functional>
#include <memory>

class CImagePreviewStatic;
class QPrinter;
class QPushButton;

// The picture panel (dialog 143): previews one JPEG file, opens another
// (1020) and prints the previewed one with its date and name (212, 210).
class CPictureDlg : public QWidget {
    Q_OBJECT
public:
    static constexpr int kOpenJpeg = 1020;
    static constexpr int kPrint = 212;
    static constexpr int kPrintSetup = 210;
    static constexpr int kStrNoPicture = 6017;

    explicit CPictureDlg(QWidget* parent = nullptr);
    ~CPictureDlg() override;

    // A capture was written: it becomes the file previewed and printed.
    void ShowPicture(const QString& path);
    const QString& Path() const { return m_path; }
    CImagePreviewStatic* Preview() const { return m_preview; }
    QPushButton* Button(int id) const;

    // The dialogs opened from here, replaceable so tests run without them:
    // the file chooser returns the chosen path, empty when cancelled; the
    // print dialog returns false when cancelled.
    void SetFileChooser(std::function<QString(const QString& initialPath)> choose) { m_choose = std::move(choose); }
    void SetPrintDialog(std::function<bool(QPrinter&)> confirm) { m_confirmPrint = std::move(confirm); }
    void SetPrintSetupDialog(std::function<void(QPrinter&)> setup) { m_setup = std::move(setup); }
    void SetClock(std::function<std::time_t()> clock) { m_clock = std::move(clock); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void onOpenJpeg();
    void onPrint();

    QString m_path;
    CImagePreviewStatic* m_preview;
    // Print setup's choices hold for the prints after it.
    std::unique_ptr<QPrinter> m_printer;
    std::function<QString(const QString&)> m_choose;
    std::function<bool(QPrinter&)> m_confirmPrint;
    std::function<void(QPrinter&)> m_setup;
    std::function<std::time_t()> m_clock;
};
