#pragma once
// One outgoing interface of a control (its events, or property-change
// notifications): the sinks that containers connect through Advise.
#include <windows.h>
#include <ocidl.h>

#include <utility>
#include <vector>

#include "ComPtr.h"

namespace kinetile {

class ConnectionPoint final : public IConnectionPoint {
public:
    // `owner` is the control: it keeps this object alive and answers for its
    // reference count. `container` is its IConnectionPointContainer.
    ConnectionPoint(IUnknown* owner, IConnectionPointContainer* container, REFIID iid)
        : owner_(owner), container_(container), iid_(iid) {}

    STDMETHODIMP QueryInterface(REFIID riid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override { return owner_->AddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return owner_->Release(); }

    STDMETHODIMP GetConnectionInterface(IID* iid) override;
    STDMETHODIMP GetConnectionPointContainer(IConnectionPointContainer** out) override;
    STDMETHODIMP Advise(IUnknown* sink, DWORD* cookie) override;
    STDMETHODIMP Unadvise(DWORD cookie) override;
    STDMETHODIMP EnumConnections(IEnumConnections** out) override;

    REFIID Iid() const { return iid_; }
    // The connected sinks, as the interface this point serves (a copy, so a
    // sink may disconnect while it is being called).
    std::vector<ComPtr<IUnknown>> Sinks() const;
    void DisconnectAll() { sinks_.clear(); }

private:
    IUnknown* owner_;
    IConnectionPointContainer* container_;
    IID iid_;
    DWORD nextCookie_ = 1;
    std::vector<std::pair<DWORD, ComPtr<IUnknown>>> sinks_;
};

}  // namespace kinetile
