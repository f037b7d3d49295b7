#pragma once

#include <QString>
#include <QStringList>
#include <vector>

// One rule of a skin sheet: a selector list and its declarations, with every
// image path already made absolute.
struct SkinRule {
    QStringList selectors;
    QString body;
};

// A checked skin sheet, or the reason it was refused.
struct SkinSheet {
    bool ok = false;
    QString warning;
    std::vector<SkinRule> rules;

    // The rules that name the element ("#name" as a whole word), each reduced
    // to the selectors that mention it, as a sheet for that one widget.
    QString SheetFor(const QString& element) const;
    bool Mentions(const QString& element) const;
};

// Largest skin file accepted; real skins are a few kilobytes.
constexpr qsizetype kMaxSkinFileBytes = 1024 * 1024;

// Reads a style sheet whose url() images are named relative to `skinFolder`.
// Refuses malformed sheets, images outside that folder and images that cannot
// be read. Only touches the file system to check the images.
SkinSheet ParseSkinSheet(const QByteArray& bytes, const QString& skinFolder);
