#include "standin_type_library.h"

#include <oleauto.h>

#include "platform/win32/scoped.h"
#include "standin_objects.h"

namespace standin {

// {6B3C2E1A-7D4F-4C59-9A8E-3F1D2B7C5E01} and the two interfaces after it.
const GUID kTypeLibraryId = {
    0x6b3c2e1a, 0x7d4f, 0x4c59, {0x9a, 0x8e, 0x3f, 0x1d, 0x2b, 0x7c, 0x5e, 0x01}};
namespace {

const GUID kDocumentId = {
    0x6b3c2e1a, 0x7d4f, 0x4c59, {0x9a, 0x8e, 0x3f, 0x1d, 0x2b, 0x7c, 0x5e, 0x02}};
const GUID kApplicationId = {
    0x6b3c2e1a, 0x7d4f, 0x4c59, {0x9a, 0x8e, 0x3f, 0x1d, 0x2b, 0x7c, 0x5e, 0x03}};

using morvane::ComPtr;

// A dispinterface deriving from stdole's IDispatch.
HRESULT createDispinterface(ICreateTypeLib2& library, ITypeInfo& dispatch, const wchar_t* name,
                            const GUID& id, ComPtr<ICreateTypeInfo>& created) {
    HRESULT hr = library.CreateTypeInfo(const_cast<LPOLESTR>(name), TKIND_DISPATCH, created.put());
    if (FAILED(hr))
        return hr;
    if (FAILED(hr = created->SetGuid(id)))
        return hr;
    HREFTYPE base = 0;
    if (FAILED(hr = created->AddRefTypeInfo(&dispatch, &base)))
        return hr;
    return created->AddImplType(0, base);
}

HRESULT addMember(ICreateTypeInfo& info, UINT index, DISPID id, INVOKEKIND kind,
                  const TYPEDESC& result, const wchar_t* name, ELEMDESC* parameter = nullptr,
                  const wchar_t* parameterName = nullptr) {
    FUNCDESC function{};
    function.memid = id;
    function.funckind = FUNC_DISPATCH;
    function.invkind = kind;
    function.callconv = CC_STDCALL;
    function.cParams = parameter ? 1 : 0;
    function.lprgelemdescParam = parameter;
    function.elemdescFunc.tdesc = result;
    HRESULT hr = info.AddFuncDesc(index, &function);
    if (FAILED(hr))
        return hr;
    LPOLESTR names[] = {const_cast<LPOLESTR>(name), const_cast<LPOLESTR>(parameterName)};
    return info.SetFuncAndParamNames(index, names, parameter ? 2 : 1);
}

HRESULT write(const std::wstring& path) {
    ComPtr<ICreateTypeLib2> library;
    HRESULT hr = CreateTypeLib2(SYS_WIN64, path.c_str(), library.put());
    if (FAILED(hr))
        return hr;
    library->SetGuid(kTypeLibraryId);
    library->SetVersion(1, 0);
    library->SetLcid(LOCALE_NEUTRAL);
    library->SetName(const_cast<LPOLESTR>(L"StandinCad"));
    library->SetDocString(const_cast<LPOLESTR>(L"MorvaneX stand-in CAD"));
    ComPtr<ITypeLib> stdole;
    ComPtr<ITypeInfo> dispatch;
    if (FAILED(hr = LoadTypeLib(L"stdole2.tlb", stdole.put())) ||
        FAILED(hr = stdole->GetTypeInfoOfGuid(IID_IDispatch, dispatch.put())))
        return hr;

    ComPtr<ICreateTypeInfo> document;
    if (FAILED(hr = createDispinterface(*library.get(), *dispatch.get(), L"StandinDocument",
                                        kDocumentId, document)))
        return hr;
    ELEMDESC command{};
    command.tdesc.vt = VT_BSTR;
    command.paramdesc.wParamFlags = PARAMFLAG_FIN;
    TYPEDESC nothing{};
    nothing.vt = VT_VOID;
    if (FAILED(hr = addMember(*document.get(), 0, kSendCommand, INVOKE_FUNC, nothing,
                              L"SendCommand", &command, L"command")) ||
        FAILED(hr = document->LayOut()))
        return hr;

    ComPtr<ICreateTypeInfo> application;
    ComPtr<ITypeInfo> documentInfo;
    HREFTYPE documentType = 0;
    if (FAILED(hr = createDispinterface(*library.get(), *dispatch.get(), L"StandinApplication",
                                        kApplicationId, application)) ||
        FAILED(hr = document.queryInterface(IID_ITypeInfo, documentInfo)) ||
        FAILED(hr = application->AddRefTypeInfo(documentInfo.get(), &documentType)))
        return hr;
    TYPEDESC handle{};
    handle.vt = VT_I8;
    TYPEDESC documentValue{};
    documentValue.vt = VT_USERDEFINED;
    documentValue.hreftype = documentType;
    TYPEDESC documentPointer{};
    documentPointer.vt = VT_PTR;
    documentPointer.lptdesc = &documentValue;
    if (FAILED(hr = addMember(*application.get(), 0, kHwnd, INVOKE_PROPERTYGET, handle, L"HWND")) ||
        FAILED(hr = addMember(*application.get(), 1, kActiveDocument, INVOKE_PROPERTYGET,
                              documentPointer, L"ActiveDocument")) ||
        FAILED(hr = application->LayOut()))
        return hr;
    return library->SaveAllChanges();
}

} // namespace

bool writeTypeLibrary(const std::wstring& path) {
    const std::wstring temporary = path + L"." + std::to_wstring(GetCurrentProcessId());
    if (FAILED(write(temporary))) {
        DeleteFileW(temporary.c_str());
        return false;
    }
    if (MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING))
        return true;
    // Another stand-in's copy, the same library, may be in use.
    DeleteFileW(temporary.c_str());
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

} // namespace standin
