#pragma once

#include <QString>

class TFrm_Wait;
class TFrm_Wait2;

// Wait windows for long operations on the UI thread. Each is one program-wide window, made on
// the first show and freed on close. The progress and close calls do nothing while no window
// is open, so callers may call them unconditionally. The windows repaint when the caller lets
// pending events run (QCoreApplication::processEvents) after showing and after each step.
namespace ui {

// Mode "1": the text alone, no bar. Mode "2": the bar from 0 to max, the text left as it was.
// Any other mode changes nothing. Then the window is shown.
void ShowWaitWindow(const QString& mode, const QString& text, int max);
void SetWaitProgress(int position);
void CloseWaitWindow();

void ShowDualProgress(const QString& text, int outerMax);
void SetDualProgress(int outerPosition, int innerMax, int innerPosition);
void CloseDualProgress();

// The open windows, or nullptr; for tests.
TFrm_Wait* waitWindow();
TFrm_Wait2* dualProgressWindow();

}  // namespace ui
