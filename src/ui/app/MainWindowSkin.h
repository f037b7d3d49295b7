#pragma once

#include <QString>

class CSkinEngine;
class QWidget;

// The main window's skin set-up, once at start: the window gets the
// background element, every button of the control table its element and its
// fixed place, and every other window named after an element (layout panel,
// side panels and their buttons) that element's look. With no skin loaded
// the windows keep a plain, readable look and the buttons still move.
void SkinMainWindow(QWidget* window, const CSkinEngine& skin);
