#pragma once

#include "core/settings.h"

#include <filesystem>

namespace quomble {

// A window that the main window opens modally from its menu and that keeps keys of its
// own in the settings file (the log data and the diagrams window plug in here).
class SecondaryWindow {
public:
    virtual ~SecondaryWindow() = default;
    // Its settings reader; the program runs it once, right after creating the window.
    virtual void ini_File_read(const std::filesystem::path& iniFile, Settings& settings) = 0;
    // Hands the values the window holds now (place, page, options) to the writer.
    virtual void storeSettings(Settings& settings) const = 0;
    // Shows the window modally; returns when it is closed (hidden).
    virtual void showModal() = 0;
};

class DiagramsWindow : public SecondaryWindow {
public:
    // The tab switching; the main window runs it once before the first showing.
    virtual void PageControl1Change() = 0;
};

}  // namespace quomble
