#include "ui/skin/CSkinEngine.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QWidget>

CSkinEngine::CSkinEngine(QStringList searchPath) : m_searchPath(std::move(searchPath)) {}

QStringList CSkinEngine::DefaultSearchPath()
{
    return {QCoreApplication::applicationDirPath() + "/skin"};
}

QString CSkinEngine::locate(const QString& fileName) const
{
    if (QFileInfo(fileName).isAbsolute())
        return QFileInfo(fileName).isFile() ? fileName : QString();
    if (fileName.split(u'/').contains(QStringLiteral("..")))
        return {};
    for (const QString& folder : m_searchPath) {
        if (!QFileInfo(folder).isAbsolute())
            continue;
        const QFileInfo candidate(folder + "/" + fileName);
        if (candidate.isFile())
            return candidate.absoluteFilePath();
    }
    return {};
}

bool CSkinEngine::Load(const QString& fileName)
{
    m_sheet = SkinSheet();
    m_file.clear();
    const QString path = locate(fileName);
    if (path.isEmpty()) {
        m_warning = "Skin file \"" + fileName + "\" not found; using the plain look";
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        m_warning = "Skin file \"" + path + "\" cannot be read; using the plain look";
        return false;
    }
    const QByteArray bytes = file.read(kMaxSkinFileBytes + 1);
    SkinSheet sheet = ParseSkinSheet(bytes, QFileInfo(path).absolutePath());
    if (!sheet.ok) {
        m_warning = "Skin file \"" + path + "\": " + sheet.warning + "; using the plain look";
        return false;
    }
    m_sheet = std::move(sheet);
    m_file = path;
    m_warning.clear();
    return true;
}

void CSkinEngine::Apply(QWidget* widget, const QString& element) const
{
    if (!widget)
        return;
    // The widget's own sheet stays underneath so that what the skin does not
    // style keeps the window's plain look; applying again replaces only the
    // skin's part.
    const char* kOwnSheet = "skinOwnSheet";
    if (!widget->property(kOwnSheet).isValid())
        widget->setProperty(kOwnSheet, widget->styleSheet());
    const QString own = widget->property(kOwnSheet).toString();
    const QString skin = m_sheet.SheetFor(element);
    widget->setObjectName(element);
    widget->setStyleSheet(own.isEmpty() ? skin : own + "\n" + skin);
}
