#include "platform/win32/com/dispatch_object.h"

#include "platform/win32/windows_api.h"

#include <oleauto.h>

#include <new>
#include <string>
#include <utility>
#include <vector>

#include "core/error_numbers.h"
#include "platform/win32/com/bstr.h"
#include "platform/win32/com/com_errors.h"
#include "platform/win32/com/excep_info.h"
#include "platform/win32/com/variant.h"
#include "platform/win32/wide_text.h"

namespace kw::win32 {

namespace {

// A text passed by reference: the server sees `value`; what it leaves there goes back to
// `target` only when it differs from what was sent, so that an unchanged text is never
// rewritten (a text that is not valid UTF-8 would not survive the round trip).
struct TextReference {
    std::string* target;
    std::wstring sent;
    Bstr value;
};

std::size_t CountTexts(std::span<const platform::AutomationArgument> positional,
                       std::span<const platform::NamedArgument> named) {
    std::size_t count = 0;
    for (const auto& argument : positional) {
        count += std::holds_alternative<std::string*>(argument) ? 1 : 0;
    }
    for (const auto& argument : named) {
        count += std::holds_alternative<std::string*>(argument.value) ? 1 : 0;
    }
    return count;
}

}  // namespace

DispatchObject::DispatchObject(std::unique_ptr<ComApartment> apartment,
                               ComPtr<IDispatch> dispatch) noexcept
    : apartment_(std::move(apartment)), dispatch_(std::move(dispatch)) {}

MaybeFailure DispatchObject::invoke(std::string_view member,
                                    std::span<const platform::AutomationArgument> positional,
                                    std::span<const platform::NamedArgument> named) {
    try {
        return call(member, positional, named);
    } catch (const std::bad_alloc&) {
        return MakeFailure(error::kOutOfMemory);
    } catch (...) {
        return MakeFailure(error::kInternal);
    }
}

MaybeFailure DispatchObject::call(std::string_view member,
                                  std::span<const platform::AutomationArgument> positional,
                                  std::span<const platform::NamedArgument> named) {
    // The member and its argument names are resolved in one request: the server may give the
    // names of arguments a meaning that depends on the member.
    std::vector<std::wstring> names;
    names.reserve(1 + named.size());
    names.push_back(Utf8ToWide(member));
    for (const auto& argument : named) {
        names.push_back(Utf8ToWide(argument.name));
    }
    std::vector<LPOLESTR> namePointers;
    namePointers.reserve(names.size());
    for (std::wstring& name : names) {
        // The server would read only the part before a NUL, which may be another name.
        if (name.find(L'\0') != std::wstring::npos) {
            return MakeFailure(namePointers.empty() ? error::kMemberNotSupported
                                                    : error::kNamedArgumentNotFound);
        }
        namePointers.push_back(name.data());
    }
    std::vector<DISPID> ids(names.size(), DISPID_UNKNOWN);
    HRESULT hr = dispatch_->GetIDsOfNames(IID_NULL, namePointers.data(),
                                          static_cast<UINT>(namePointers.size()),
                                          LOCALE_USER_DEFAULT, ids.data());
    if (hr == DISP_E_UNKNOWNNAME) {
        return MakeFailure(ids.front() == DISPID_UNKNOWN ? error::kMemberNotSupported
                                                         : error::kNamedArgumentNotFound);
    }
    if (FAILED(hr)) {
        return FailureFromHresult(hr);
    }

    // rgvarg holds the named arguments first, in the order of rgdispidNamedArgs, then the
    // positional ones from last to first.
    const std::size_t count = positional.size() + named.size();
    VariantArray arguments(count);
    std::vector<DISPID> namedIds(ids.begin() + 1, ids.end());
    std::vector<TextReference> texts;
    texts.reserve(CountTexts(positional, named));  // no reallocation: the VARIANTs point into it

    const auto place = [&texts](VARIANT& slot, const platform::AutomationArgument& argument) {
        if (const auto* text = std::get_if<std::string*>(&argument)) {
            if (*text == nullptr) {
                return false;
            }
            std::wstring sent = Utf8ToWide(**text);
            Bstr value(sent);
            TextReference& reference =
                texts.emplace_back(TextReference{*text, std::move(sent), std::move(value)});
            slot.vt = VT_BYREF | VT_BSTR;
            slot.pbstrVal = reference.value.address();
        } else {
            slot.vt = VT_BOOL;
            slot.boolVal = std::get<bool>(argument) ? VARIANT_TRUE : VARIANT_FALSE;
        }
        return true;
    };
    for (std::size_t i = 0; i < named.size(); ++i) {
        if (!place(arguments[i], named[i].value)) {
            return MakeFailure(error::kInvalidCall);
        }
    }
    for (std::size_t i = 0; i < positional.size(); ++i) {
        if (!place(arguments[count - 1 - i], positional[i])) {
            return MakeFailure(error::kInvalidCall);
        }
    }

    DISPPARAMS parameters{};
    parameters.rgvarg = arguments.data();
    parameters.rgdispidNamedArgs = namedIds.empty() ? nullptr : namedIds.data();
    parameters.cArgs = static_cast<UINT>(count);
    parameters.cNamedArgs = static_cast<UINT>(namedIds.size());
    Variant result;
    ExcepInfo exception;
    UINT argumentError = 0;
    hr = dispatch_->Invoke(ids.front(), IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &parameters,
                           result.get(), exception.get(), &argumentError);

    // The references point at the stored texts themselves: what the server wrote stays written,
    // even when the call then failed.
    for (TextReference& reference : texts) {
        if (reference.value.view() != reference.sent) {
            *reference.target = WideToUtf8(reference.value.view());
        }
    }

    if (hr == DISP_E_EXCEPTION) {
        const EXCEPINFO& info = exception.filledIn();
        std::string description;
        if (info.bstrDescription != nullptr) {
            description = WideToUtf8({info.bstrDescription, SysStringLen(info.bstrDescription)});
        }
        return ExceptionFailure(info.wCode, info.scode, std::move(description));
    }
    if (FAILED(hr)) {
        return FailureFromHresult(hr);
    }
    return std::nullopt;
}

}  // namespace kw::win32
