#pragma once

#include <QImage>
#include <QString>
#include <QWidget>

// The picture panel's preview (control 214): one JPEG file drawn over the
// whole control, stretched to it. A path that gives no picture (empty, gone,
// not an image) shows nothing.
class CImagePreviewStatic : public QWidget {
    Q_OBJECT
public:
    static constexpr int kCtrlId = 214;

    explicit CImagePreviewStatic(QWidget* parent = nullptr);

    // Reads the file at `path` and repaints; the previous picture goes.
    void Load(const QString& path);
    const QString& Path() const { return m_path; }
    bool HasPicture() const { return !m_image.isNull(); }
    QSize PictureSize() const { return m_image.size(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_path;
    QImage m_image;
};
