#pragma once
// What registering the control writes under HKEY_CLASSES_ROOT, besides the
// type library (registered through the system). Registration writes these
// values; unregistration removes these key trees, so it takes away exactly
// what registration wrote.
#include <string>
#include <vector>

namespace kinetile {

struct RegistryValue {
    std::wstring key;   // below HKEY_CLASSES_ROOT
    std::wstring name;  // empty: the key's default value
    std::wstring data;  // a string value
};

std::vector<RegistryValue> ControlRegistryValues(const std::wstring& serverPath);
// The keys that belong wholly to the control, deleted with all below them.
std::vector<std::wstring> ControlRegistryKeys();

}  // namespace kinetile
