#pragma once
// The CAD link over COM: the running instance from the running object table,
// its members reached by late binding through IDispatch.
#include <oaidl.h>
#include <windows.h>

#include "cad/cad_link.h"

namespace morvane {

class ComCadAutomation final : public CadAutomation {
  public:
    // CLSIDFromProgID, GetActiveObject, QueryInterface for IDispatch. Never
    // creates an instance.
    CadObjectPtr attach(std::u16string_view progId) override;
};

// Wraps an IDispatch reference the caller owns; released with the wrapper.
CadObjectPtr makeDispatchObject(IDispatch* dispatch);

// A VARIANT as the link sees it; a VT_DISPATCH becomes an object with its own
// reference.
CadValue cadValueFromVariant(const VARIANT& value);

// A chain's failure to OutputDebugStringW, for a debugger or a debug-output
// viewer; the user sees nothing. Nothing for a completed chain.
void traceCadChain(const CadChainResult& result) noexcept;

// The one desktop of the running session.
class Win32CadDesktop final : public CadDesktop {
  public:
    bool isIconic(uint64_t window) override;
    void openIcon(uint64_t window) override;
    void setForegroundWindow(uint64_t window) override;
    uint64_t foregroundWindow() override;
    void sleep(unsigned milliseconds) override;
    void escapeKey(bool down) override;
};

} // namespace morvane
