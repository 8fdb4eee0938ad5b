#include "ui/optionen.h"

#include "core/filled_command.h"
#include "core/messages.h"
#include "core/replace_all.h"
#include "ui/optionen_layout.h"

namespace kw::ui {

namespace {

constexpr std::string_view kExampleCaller = "(012) 456789";
constexpr std::string_view kExampleCallerDigits = "012456789";
constexpr std::string_view kExampleCalled = "67890";

constexpr std::string_view kFlagOff = "0";
constexpr std::string_view kFlagOn = "1";

static_assert(optionen::kOptionGroups.size() == static_cast<std::size_t>(OptionGroup::Format) + 1);
static_assert(optionen::kTextBoxes.size() == static_cast<std::size_t>(OptionenText::Shell) + 1);

// What OK stores for a group that shows no selection.
constexpr int kNoStartChoice = 3;
constexpr int kNoParameterChoice = 1;
constexpr int kNoFormatChoice = 0;

}  // namespace

std::span<const optionen::OptionValue> OptionsOf(OptionGroup group) {
    return optionen::kOptionGroups.at(static_cast<std::size_t>(group));
}

std::string_view TextBoxName(OptionenText box) {
    return optionen::kTextBoxes.at(static_cast<std::size_t>(box));
}

std::string ShellExample(std::string_view shellTemplate, bool digitsOnly) {
    std::string text = "Anrufer             : ";
    text += kExampleCaller;
    text += kCrLf;
    text += "angerufene Nr.: ";
    text += kExampleCalled;
    text += kCrLf;
    text += kCrLf;
    const std::string withCaller = ReplaceAll(shellTemplate, kCallerPlaceholder,
                                              digitsOnly ? kExampleCallerDigits : kExampleCaller);
    text += ReplaceAll(withCaller, kCalledPlaceholder, kExampleCalled);
    return text;
}

Optionen::Optionen(OptionenView& view, AppOptions& options, OptionenPlatform& platform)
    : view_(view), options_(options), platform_(platform) {}

void Optionen::load() {
    LoadOptions(platform_.store, options_);
    view_.setText(OptionenText::Db, options_.Database);
    view_.setText(OptionenText::Proc, options_.Procedure);
    view_.setText(OptionenText::Shell, options_.Shell);
    view_.setChoice(OptionGroup::Parameter, options_.Parameter ? 1 : 0);
    view_.setChoice(OptionGroup::Start, options_.Start);
    view_.setChoice(OptionGroup::Format, options_.Formatierung ? 1 : 0);
    view_.showTab(options_.DoJob ? OptionenTab::Shell : OptionenTab::Datenbank);
}

void Optionen::anruferClicked() {
    appendToShell(kCallerPlaceholder);
}

void Optionen::msnClicked() {
    appendToShell(kCalledPlaceholder);
}

void Optionen::appendToShell(std::string_view placeholder) {
    std::string text = view_.text(OptionenText::Shell);
    text += placeholder;
    view_.setText(OptionenText::Shell, text);
    view_.focus(OptionenText::Shell);
}

void Optionen::showShellClicked() {
    const bool digitsOnly = view_.choice(OptionGroup::Format) == 1;
    platform_.messages.show(ShellExample(view_.text(OptionenText::Shell), digitsOnly),
                            optionen::kExampleTitle, platform::MessageIcon::Information,
                            platform::MessageButtons::Ok);
}

void Optionen::fileSelectClicked() {
    auto chosen = platform_.fileDialog.openFile(
        optionen::kFileDialogTitle, optionen::kFileDialogPattern, optionen::kFileDialogPattern);
    // A dialog that fails leaves the path as it was, without a word: the user simply tries again.
    if (chosen.ok()) {
        view_.setText(OptionenText::Db, chosen.value());
    }
    view_.focus(OptionenText::Db);
}

void Optionen::okClicked() {
    const bool databasePage = view_.currentTab() == OptionenTab::Datenbank;
    std::vector<platform::SettingsValue> values{
        {key::kDoJob, std::string(databasePage ? kFlagOff : kFlagOn)}};
    const std::optional<Notice> problem =
        databasePage ? checkDatabasePage(values) : checkShellPage(values);
    if (problem) {
        // The action kind follows the page even when a check sends the user back to correct an
        // entry.
        if (save(std::span(values).first(1))) {
            inform(problem->title, problem->text);
        }
        return;
    }
    values.push_back({key::kStart, choiceText(OptionGroup::Start, kNoStartChoice)});
    values.push_back({key::kFormatierung, choiceText(OptionGroup::Format, kNoFormatChoice)});
    if (!save(values)) {
        return;
    }
    LoadOptions(platform_.store, options_);
    view_.close();
}

void Optionen::cancelClicked() {
    view_.close();
}

std::optional<Optionen::Notice> Optionen::checkDatabasePage(
    std::vector<platform::SettingsValue>& values) {
    const std::string database = view_.text(OptionenText::Db);
    if (database.empty()) {
        return Notice{optionen::kNoDatabase.title, std::string(optionen::kNoDatabase.text)};
    }
    auto found = platform_.files.findsOrdinaryFile(database);
    if (!found.ok()) {
        std::string text(optionen::kDatabaseUncheckableText);
        text += kCrLf;
        text += kCrLf;
        text += found.failure().description;
        return Notice{optionen::kDatabaseUncheckableTitle, std::move(text)};
    }
    if (!found.value()) {
        return Notice{optionen::kDatabaseMissing.title,
                      std::string(optionen::kDatabaseMissing.text)};
    }
    const std::string procedure = view_.text(OptionenText::Proc);
    if (procedure.empty()) {
        return Notice{optionen::kNoProcedure.title, std::string(optionen::kNoProcedure.text)};
    }
    values.push_back({key::kDatabase, database});
    values.push_back({key::kProcedure, procedure});
    values.push_back({key::kShell, ""});
    values.push_back({key::kParameter, choiceText(OptionGroup::Parameter, kNoParameterChoice)});
    return std::nullopt;
}

std::optional<Optionen::Notice> Optionen::checkShellPage(
    std::vector<platform::SettingsValue>& values) {
    const std::string shell = view_.text(OptionenText::Shell);
    if (shell.empty()) {
        return Notice{optionen::kNoShellCommand.title, std::string(optionen::kNoShellCommand.text)};
    }
    values.push_back({key::kDatabase, ""});
    values.push_back({key::kProcedure, ""});
    values.push_back({key::kShell, shell});
    values.push_back({key::kParameter, std::string(kFlagOff)});
    return std::nullopt;
}

std::string Optionen::choiceText(OptionGroup group, int none) {
    return std::to_string(view_.choice(group).value_or(none));
}

bool Optionen::save(std::span<const platform::SettingsValue> values) {
    const MaybeFailure failure = WriteOptions(platform_.store, values);
    if (!failure) {
        return true;
    }
    std::string text(optionen::kNotSavedText);
    text += kCrLf;
    text += kCrLf;
    text += FailureText(*failure);
    platform_.messages.show(text, optionen::kNotSavedTitle, platform::MessageIcon::Critical,
                            platform::MessageButtons::Ok);
    return false;
}

void Optionen::inform(std::string_view title, std::string_view text) {
    platform_.messages.show(text, title, platform::MessageIcon::Information,
                            platform::MessageButtons::Ok);
}

}  // namespace kw::ui
