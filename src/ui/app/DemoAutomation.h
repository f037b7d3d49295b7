#pragma once

class QWidget;

// For unattended runs (a demo with no display, a screenshot for a person to
// look at): with OMBREL_SCREENSHOT=PATH the window is saved as a PNG once it
// has settled and "screenshot: PATH" is printed; with OMBREL_EXIT_AFTER_MS=N
// the window closes by itself after N milliseconds. Without them, nothing.
void ArmDemoAutomation(QWidget* window);
