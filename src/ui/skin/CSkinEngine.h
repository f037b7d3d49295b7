#pragma once

#include <QString>
#include <QStringList>

#include "platform/skin/SkinSheet.h"

class QWidget;

// Paints windows by element name from a skin file. A skin file is a style
// sheet keyed by element name; a window handed to Apply takes the element
// name as its object name and the rules that name it. Until a skin loads,
// or after one fails to load, windows keep their plain look.
class CSkinEngine {
public:
    // Skin files are looked up in these folders in order, never in the
    // current folder. The default is the "skin" folder beside the program.
    explicit CSkinEngine(QStringList searchPath = DefaultSearchPath());

    static QStringList DefaultSearchPath();

    // Reads and checks a skin file (a plain name looked up in the search
    // path, or an absolute path). On failure the plain look stays and
    // Warning() says why.
    bool Load(const QString& fileName);

    // Names the widget after the element and gives it the element's rules.
    void Apply(QWidget* widget, const QString& element) const;

    bool Loaded() const { return m_sheet.ok; }
    QString Warning() const { return m_warning; }
    QString LoadedFile() const { return m_file; }
    const SkinSheet& Sheet() const { return m_sheet; }

private:
    QString locate(const QString& fileName) const;

    QStringList m_searchPath;
    SkinSheet m_sheet;
    QString m_file;
    QString m_warning;
};
