#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace kw::test {

// A value as the substitute server received it: its VARTYPE and its text (or VARIANT_TRUE /
// VARIANT_FALSE).
struct ServerValue {
    int vt = 0;
    std::string text;

    friend bool operator==(const ServerValue&, const ServerValue&) = default;
};

// One Invoke that reached the substitute server, in the caller's terms.
struct ServerCall {
    std::string object;
    std::string member;
    int flags = 0;
    std::string locale;
    std::vector<ServerValue> positional;       // first to last
    std::map<std::string, ServerValue> named;  // argument name -> value
    std::vector<ServerValue> rawArguments;     // rgvarg as it was laid out
    std::vector<std::string> rawNamedIds;      // rgdispidNamedArgs
    long result = 0;
};

inline constexpr int kTextReference = 0x4008;  // VT_BYREF | VT_BSTR
inline constexpr int kBoolean = 11;            // VT_BOOL

ServerValue Text(std::string text);
ServerValue Boolean(bool value);

// Gives one test its own log of the substitute server and resets the server's behaviour, before
// and after the test.
class SubstituteSession {
  public:
    SubstituteSession();
    ~SubstituteSession();
    SubstituteSession(const SubstituteSession&) = delete;
    SubstituteSession& operator=(const SubstituteSession&) = delete;

    // Steers the server; the value is UTF-8.
    void set(const wchar_t* variable, std::string_view value);

    std::vector<std::vector<std::string>> records(std::string_view kind) const;
    int count(std::string_view kind) const { return static_cast<int>(records(kind).size()); }
    std::vector<ServerCall> calls() const;
    std::vector<std::string> members() const;

  private:
    std::vector<std::vector<std::string>> allRecords() const;

    std::wstring logPath_;
};

}  // namespace kw::test
