#pragma once

#include <QString>

class QPainter;

// Draws text with its top-left corner at (x, y). Text wider than maxWidth in
// the painter's font is squeezed sideways to fit: the layouts were made for
// one narrow font, and the font standing in for it may run wider.
void DrawFittedText(QPainter& painter, int x, int y, const QString& text, int maxWidth);
