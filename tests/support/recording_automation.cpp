#include "tests/support/recording_automation.h"

#include "core/error_numbers.h"

namespace kw::test {

namespace {

class RecordingObject : public platform::AutomationObject {
  public:
    RecordingObject(RecordingAutomation& server, int id) : server_(server), id_(id) {}
    ~RecordingObject() override { ++server_.log->released; }

    MaybeFailure invoke(std::string_view member,
                        std::span<const platform::AutomationArgument> positional,
                        std::span<const platform::NamedArgument> named) override {
        RecordedCall call{id_, std::string(member), {}, {}};
        std::vector<std::string*> references;
        for (const auto& argument : positional) {
            if (auto* text = std::get_if<std::string*>(&argument)) {
                call.positional.push_back(**text);
                references.push_back(*text);
            } else {
                call.positional.push_back(std::get<bool>(argument) ? "true" : "false");
            }
        }
        for (const auto& argument : named) {
            if (auto* text = std::get_if<std::string*>(&argument.value)) {
                call.named[std::string(argument.name)] = **text;
                references.push_back(*text);
            } else {
                call.named[std::string(argument.name)] =
                    std::get<bool>(argument.value) ? "true" : "false";
            }
        }
        server_.log->calls.push_back(call);
        if (auto failure = server_.failMember.find(std::string(member));
            failure != server_.failMember.end()) {
            return failure->second;
        }
        if (server_.writeBack) {
            server_.writeBack(call.member, references);
        }
        return std::nullopt;
    }

  private:
    RecordingAutomation& server_;
    int id_;
};

}  // namespace

Result<std::unique_ptr<platform::AutomationObject>> RecordingAutomation::create(
    std::string_view progId) {
    log->createdProgIds.emplace_back(progId);
    if (failCreate) {
        return *failCreate;
    }
    return std::unique_ptr<platform::AutomationObject>(
        std::make_unique<RecordingObject>(*this, static_cast<int>(log->createdProgIds.size())));
}

std::vector<std::string> RecordingAutomation::members(int object) const {
    std::vector<std::string> names;
    for (const auto& call : log->calls) {
        if (call.object == object) {
            names.push_back(call.member);
        }
    }
    return names;
}

}  // namespace kw::test
