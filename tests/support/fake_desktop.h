#pragma once

#include <string>
#include <vector>

#include "platform/file_dialog.h"
#include "platform/file_search.h"
#include "platform/help_viewer.h"
#include "platform/instance_guard.h"
#include "platform/program_info.h"
#include "platform/window_manager.h"

namespace kw::test {

// Records the window manager calls in order, as "minimize", "restore", "top", "notop".
class FakeWindowManager : public platform::WindowManager {
  public:
    void minimize() override { calls.emplace_back("minimize"); }
    void restore() override { calls.emplace_back("restore"); }
    void setKeepOnTop(bool onTop) override { calls.emplace_back(onTop ? "top" : "notop"); }
    void bringToFront() override { calls.emplace_back("front"); }

    std::vector<std::string> calls;
};

class FakeHelpViewer : public platform::HelpViewer {
  public:
    void open(const std::string& path) override { opened.push_back(path); }

    std::vector<std::string> opened;
};

class FakeInstanceGuard : public platform::InstanceGuard {
  public:
    bool previousInstanceRunning() const override { return running; }

    bool running = false;
};

class FakeProgramInfo : public platform::ProgramInfo {
  public:
    std::string directory() override { return dir; }
    char pathSeparator() const override { return separator; }
    platform::ProgramVersion version() const override { return programVersion; }

    std::string dir = "/opt/klingelwart";
    char separator = '/';
    platform::ProgramVersion programVersion{2, 0, 0};
};

// Answers every search with `found`, or with `failure` when set.
class FakeFileSearch : public platform::FileSearch {
  public:
    Result<bool> findsOrdinaryFile(std::string_view pattern) override {
        searched.emplace_back(pattern);
        if (failure) {
            return *failure;
        }
        return found;
    }

    bool found = true;
    MaybeFailure failure;
    std::vector<std::string> searched;
};

// Returns `chosen`, or the preset file name when the user cancels, or `failure`.
class FakeFileDialog : public platform::FileDialog {
  public:
    Result<std::string> openFile(std::string_view title, std::string_view fileName,
                                 std::string_view filter) override {
        shownWith = {std::string(title), std::string(fileName), std::string(filter)};
        if (failure) {
            return *failure;
        }
        return cancel ? std::string(fileName) : chosen;
    }
    Result<std::string> openFolder(std::string_view title) override {
        shownWith = {std::string(title)};
        if (failure) {
            return *failure;
        }
        return cancel ? std::string() : chosen;
    }
    Result<std::string> saveFile(std::string_view title, std::string_view fileName,
                                 std::string_view filter) override {
        return openFile(title, fileName, filter);
    }

    std::string chosen = "/daten/kunden.mdb";
    bool cancel = false;
    MaybeFailure failure;
    std::vector<std::string> shownWith;
};

}  // namespace kw::test
