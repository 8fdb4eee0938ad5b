#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/automation.h"

namespace kw::test {

// One call that reached the substitute server.
struct RecordedCall {
    int object = 0;  // which created object, counting from 1
    std::string member;
    std::vector<std::string> positional;       // the texts as they arrived
    std::map<std::string, std::string> named;  // name -> text, or "true"/"false"
};

// A substitute for the database application: records creations, calls and releases, and can be
// told to fail a member or to write back through the references it receives.
class RecordingAutomation : public platform::Automation {
  public:
    Result<std::unique_ptr<platform::AutomationObject>> create(std::string_view progId) override;

    // What the server saw, shared with the objects it created.
    struct Log {
        std::vector<std::string> createdProgIds;
        std::vector<RecordedCall> calls;
        int released = 0;
    };
    std::shared_ptr<Log> log = std::make_shared<Log>();

    MaybeFailure failCreate;
    std::map<std::string, Failure> failMember;
    // Run before a member returns, with the references it received.
    std::function<void(const std::string& member, std::vector<std::string*>& references)> writeBack;

    std::vector<std::string> members(int object) const;
};

}  // namespace kw::test
