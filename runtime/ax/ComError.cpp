#include "ComError.h"

#include "ComPtr.h"

namespace kinetile {

HRESULT RaiseComError(HRESULT code, const wchar_t* description, REFIID iid, const wchar_t* source) {
    ComPtr<ICreateErrorInfo> create;
    if (SUCCEEDED(CreateErrorInfo(create.put()))) {
        create->SetGUID(iid);
        create->SetSource(const_cast<LPOLESTR>(source));
        create->SetDescription(const_cast<LPOLESTR>(description));
        ComPtr<IErrorInfo> info;
        if (SUCCEEDED(create->QueryInterface(IID_IErrorInfo, info.put_void()))) SetErrorInfo(0, info.get());
    }
    return code;
}

}  // namespace kinetile
