#include "Registration.h"

namespace kinetile {
namespace {

const std::wstring kControlClsid = L"{8185F5B5-CE27-412A-8E13-AD654E671A94}";
const std::wstring kPageClsid = L"{E6B226BD-BEBB-471C-89D9-69DED8013E36}";
const std::wstring kLibId = L"{125FEA69-463F-4CB2-A789-0491FC579738}";
const std::wstring kProgId = L"KinetileLib.Kinetile";

}  // namespace

std::vector<RegistryValue> ControlRegistryValues(const std::wstring& serverPath) {
    const std::wstring control = L"CLSID\\" + kControlClsid;
    const std::wstring page = L"CLSID\\" + kPageClsid;
    return {
        {kProgId, L"", L"Kinetile"},
        {kProgId + L"\\CLSID", L"", kControlClsid},
        {control, L"", kProgId},
        {control + L"\\InprocServer32", L"", serverPath},
        {control + L"\\InprocServer32", L"ThreadingModel", L"Apartment"},
        {control + L"\\ProgID", L"", kProgId},
        {control + L"\\Control", L"", L""},
        {control + L"\\ToolboxBitmap32", L"", serverPath + L", 30000"},
        {control + L"\\MiscStatus", L"", L"0"},
        {control + L"\\MiscStatus\\1", L"", L"131473"},  // 0x20191
        {control + L"\\TypeLib", L"", kLibId},
        {control + L"\\Version", L"", L"1.0"},
        {page, L"", L"GIF文件"},
        {page + L"\\InprocServer32", L"", serverPath},
        {page + L"\\InprocServer32", L"ThreadingModel", L"Apartment"},
    };
}

std::vector<std::wstring> ControlRegistryKeys() {
    return {kProgId, L"CLSID\\" + kControlClsid, L"CLSID\\" + kPageClsid};
}

}  // namespace kinetile
