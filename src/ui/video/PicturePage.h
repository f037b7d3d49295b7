#pragma once

#include <QString>

#include <ctime>

class QPrinter;

// Prints one picture on one page: "Date :" and the print time, "File Name :"
// and the path, in blue 20-pixel bold serif, and the picture at (50, 200)
// in its own size, or scaled down with its aspect kept when the page is too
// small for it. False when the printer could not be started.
bool PrintPicturePage(QPrinter& printer, const QString& path, std::time_t when);

// "YYYY_MMDD_hh:mm:ss" of the local time.
QString PrintTimeText(std::time_t when);
