#pragma once

#include <cstddef>
#include <map>
#include <span>
#include <string>
#include <tuple>
#include <vector>

#include "core/call_info.h"
#include "core/filled_command.h"
#include "platform/autostart.h"
#include "platform/launcher.h"
#include "platform/message_box.h"
#include "platform/settings_store.h"

namespace kw::test {

// An in-memory settings store that records the order of writes and can be told to fail them:
// all of them, or the one that would store the failAtKey-th key (counted from 1 over every
// write). A failing writeAll stores none of its values.
class FakeSettingsStore : public platform::SettingsStore {
  public:
    using Address = std::tuple<std::string, std::string, std::string>;

    std::string read(std::string_view application, std::string_view section,
                     std::string_view key) override;
    MaybeFailure writeAll(std::string_view application, std::string_view section,
                          std::span<const platform::SettingsValue> values) override;

    // Stores under the program's own application and section.
    void set(std::string_view key, std::string_view value);
    void erase(std::string_view key);

    std::map<Address, std::string> values;
    std::vector<std::string> writtenKeys;
    MaybeFailure failWrites;
    std::size_t failAtKey = 0;
    std::size_t batches = 0;
};

class FakeLauncher : public platform::Launcher {
  public:
    void openAddress(const FilledCommand& command) override;
    MaybeFailure startProgram(const FilledCommand& command) override;

    std::vector<FilledCommand> opened;
    std::vector<FilledCommand> started;
    MaybeFailure startFailure;
};

struct ShownMessage {
    std::string text;
    std::string title;
    platform::MessageIcon icon;
    platform::MessageButtons buttons;
};

class FakeMessageBox : public platform::MessageBox {
  public:
    platform::MessageAnswer show(std::string_view text, std::string_view title,
                                 platform::MessageIcon icon,
                                 platform::MessageButtons buttons) override;

    std::vector<ShownMessage> shown;
    platform::MessageAnswer answer = platform::MessageAnswer::Ok;
};

class FakeCallView : public CallView {
  public:
    void setCallerLine(std::string_view text) override { callerLine = text; }
    void setActionEnabled(bool enabled) override { actionEnabled = enabled; }

    std::string callerLine = "untouched";
    bool actionEnabled = false;
};

// An autostart entry in memory that can be told to fail reading or changing.
class FakeAutostart : public platform::Autostart {
  public:
    Result<bool> enabled() override {
        if (readFailure) {
            return *readFailure;
        }
        return on;
    }
    MaybeFailure set(bool value) override {
        ++sets;
        if (!setFailure) {
            on = value;
        }
        return setFailure;
    }

    bool on = false;
    int sets = 0;
    MaybeFailure readFailure;
    MaybeFailure setFailure;
};

}  // namespace kw::test
