#include "ui/win32/accelerator_table.h"

#include <charconv>
#include <utility>
#include <vector>

#include "platform/win32/wide_text.h"

namespace kw::winui {

namespace {

constexpr std::string_view kCtrl = "Ctrl+";

std::optional<WORD> VirtualKey(std::string_view key) {
    if (key.size() == 1 && ((key[0] >= 'A' && key[0] <= 'Z') || (key[0] >= '0' && key[0] <= '9'))) {
        return static_cast<WORD>(key[0]);
    }
    if (key.size() >= 2 && key.size() <= 3 && key[0] == 'F') {
        int number = 0;
        const auto [end, error] = std::from_chars(key.data() + 1, key.data() + key.size(), number);
        if (error == std::errc() && end == key.data() + key.size() && number >= 1 && number <= 24) {
            return static_cast<WORD>(VK_F1 + number - 1);
        }
    }
    return std::nullopt;
}

}  // namespace

std::optional<ACCEL> ShortcutKey(std::string_view shortcut, WORD command) {
    BYTE flags = FVIRTKEY;
    if (shortcut.starts_with(kCtrl)) {
        flags |= FCONTROL;
        shortcut.remove_prefix(kCtrl.size());
    }
    const std::optional<WORD> key = VirtualKey(shortcut);
    if (!key) {
        return std::nullopt;
    }
    return ACCEL{flags, *key, command};
}

std::wstring ShortcutLabel(std::string_view shortcut) {
    std::wstring label;
    if (shortcut.starts_with(kCtrl)) {
        label = L"Strg+";
        shortcut.remove_prefix(kCtrl.size());
    }
    return label + win32::Utf8ToWide(shortcut);
}

AcceleratorTable::AcceleratorTable(std::span<const ui::MenuEntry> entries) {
    std::vector<ACCEL> keys;
    for (const ui::MenuEntry& entry : entries) {
        if (auto key = ShortcutKey(entry.shortcut, static_cast<WORD>(entry.id))) {
            keys.push_back(*key);
        }
    }
    if (!keys.empty()) {
        table_ = CreateAcceleratorTableW(keys.data(), static_cast<int>(keys.size()));
    }
}

AcceleratorTable::~AcceleratorTable() {
    if (table_ != nullptr) {
        DestroyAcceleratorTable(table_);
    }
}

AcceleratorTable::AcceleratorTable(AcceleratorTable&& other) noexcept
    : table_(std::exchange(other.table_, nullptr)) {}

AcceleratorTable& AcceleratorTable::operator=(AcceleratorTable&& other) noexcept {
    if (this != &other) {
        if (table_ != nullptr) {
            DestroyAcceleratorTable(table_);
        }
        table_ = std::exchange(other.table_, nullptr);
    }
    return *this;
}

int AcceleratorTable::size() const {
    return table_ == nullptr ? 0 : CopyAcceleratorTableW(table_, nullptr, 0);
}

}  // namespace kw::winui
