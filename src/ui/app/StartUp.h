#pragma once
// The program's start: the splash for a second, then the main window, kept
// as the program-wide reference.
#include <memory>

namespace mirvane {

class MainWindow;
struct Platform;

// Shows the splash modally until its timer closes it, then creates, loads and
// shows the main window. Returns the main window, which the caller owns.
std::unique_ptr<MainWindow> StartUp(const Platform& platform);

// The program-wide reference to the single main window (null before start-up).
MainWindow* RunningMainWindow();

} // namespace mirvane
