// VARIANTs from the CAD as the link sees them: which make a window handle,
// and that an object in a VARIANT gets a reference of its own.
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>

#include "cad/win32/cad_automation_win32.h"
#include "platform/win32/scoped.h"

namespace morvane {
namespace {

struct VariantCase {
    const char* name;
    friend void PrintTo(const VariantCase& c, std::ostream* os) { *os << c.name; }
    std::function<void(VARIANT&)> fill;
    std::optional<uint64_t> handle; // nullopt: no handle
};

class VariantHandle : public testing::TestWithParam<VariantCase> {};

TEST_P(VariantHandle, ConvertsByValue) {
    UniqueVariant value;
    GetParam().fill(*value.get());
    const CadValue cad = cadValueFromVariant(*value.get());
    if (GetParam().handle)
        EXPECT_EQ(windowHandleFromValue(cad), *GetParam().handle);
    else
        EXPECT_THROW(windowHandleFromValue(cad), CadFailure);
}

INSTANTIATE_TEST_SUITE_P(Types, VariantHandle,
                         testing::Values(VariantCase{"empty", [](VARIANT&) {}, 0},
                                         VariantCase{"null", [](VARIANT& v) { v.vt = VT_NULL; },
                                                     std::nullopt},
                                         VariantCase{"i2",
                                                     [](VARIANT& v) {
                                                         v.vt = VT_I2;
                                                         v.iVal = 0x1234;
                                                     },
                                                     0x1234},
                                         VariantCase{"i4",
                                                     [](VARIANT& v) {
                                                         v.vt = VT_I4;
                                                         v.lVal = 0x7fff0010;
                                                     },
                                                     0x7fff0010},
                                         VariantCase{"negative_i4",
                                                     [](VARIANT& v) {
                                                         v.vt = VT_I4;
                                                         v.lVal = -2;
                                                     },
                                                     std::nullopt},
                                         VariantCase{"i8",
                                                     [](VARIANT& v) {
                                                         v.vt = VT_I8;
                                                         v.llVal = 0x100000020;
                                                     },
                                                     0x100000020},
                                         VariantCase{"ui4_high_bit",
                                                     [](VARIANT& v) {
                                                         v.vt = VT_UI4;
                                                         v.ulVal = 0x80000000u;
                                                     },
                                                     0x80000000u},
                                         VariantCase{"ui8",
                                                     [](VARIANT& v) {
                                                         v.vt = VT_UI8;
                                                         v.ullVal = ~0ull;
                                                     },
                                                     ~0ull},
                                         VariantCase{"whole_r8",
                                                     [](VARIANT& v) {
                                                         v.vt = VT_R8;
                                                         v.dblVal = 66.0;
                                                     },
                                                     66},
                                         VariantCase{"bool_true_is_negative",
                                                     [](VARIANT& v) {
                                                         v.vt = VT_BOOL;
                                                         v.boolVal = VARIANT_TRUE;
                                                     },
                                                     std::nullopt},
                                         VariantCase{"bstr_digits",
                                                     [](VARIANT& v) {
                                                         v.vt = VT_BSTR;
                                                         v.bstrVal = SysAllocString(L"327726");
                                                     },
                                                     327726},
                                         VariantCase{"bstr_word",
                                                     [](VARIANT& v) {
                                                         v.vt = VT_BSTR;
                                                         v.bstrVal = SysAllocString(L"none");
                                                     },
                                                     std::nullopt},
                                         VariantCase{"null_dispatch",
                                                     [](VARIANT& v) {
                                                         v.vt = VT_DISPATCH;
                                                         v.pdispVal = nullptr;
                                                     },
                                                     std::nullopt},
                                         VariantCase{"date",
                                                     [](VARIANT& v) {
                                                         v.vt = VT_DATE;
                                                         v.date = 1.0;
                                                     },
                                                     std::nullopt}));

// Counts references; answers no member.
class CountedDispatch final : public IDispatch {
  public:
    LONG refs = 1;
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
    ULONG STDMETHODCALLTYPE Release() override { return --refs; }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return DISP_E_UNKNOWNNAME;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override {
        return DISP_E_MEMBERNOTFOUND;
    }
};

TEST(VariantObject, HoldsItsOwnReferenceUntilReleased) {
    CountedDispatch document;
    {
        VARIANT value;
        VariantInit(&value);
        value.vt = VT_DISPATCH;
        value.pdispVal = &document; // the VARIANT's reference is the test's own
        CadValue cad = cadValueFromVariant(value);
        EXPECT_EQ(document.refs, 2);
        auto* object = std::get_if<CadObjectPtr>(&cad);
        ASSERT_TRUE(object && *object);
        // An unknown member fails the call; nothing leaks on that path.
        EXPECT_THROW((*object)->callMethod(u"SendCommand", u"X\r"), CadFailure);
        EXPECT_THROW((*object)->getProperty(u"HWND"), CadFailure);
    }
    EXPECT_EQ(document.refs, 1);
}

// Knows every name; every call fails with the CAD's own description of the
// fault, as an automation server raises an error.
class FailingDispatch final : public IDispatch {
  public:
    explicit FailingDispatch(std::wstring description) : description_(std::move(description)) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID* id) override {
        *id = 1;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*,
                                     EXCEPINFO* exception, UINT*) override {
        *exception = {};
        exception->scode = DISP_E_EXCEPTION;
        exception->bstrDescription =
            SysAllocStringLen(description_.data(), static_cast<UINT>(description_.size()));
        return DISP_E_EXCEPTION;
    }

  private:
    std::wstring description_;
};

// The CAD's description travels in UTF-16 from its EXCEPINFO to the
// failure, unit for unit: Japanese text, and a lone surrogate that a trip
// through UTF-8 would turn into U+FFFD.
TEST(VariantObject, TheCadsDescriptionReachesTheFailureUnchanged) {
    const std::wstring description = L"\u30B3\u30DE\u30F3\u30C9\u3092\u53D7\u3051\u4ED8\u3051"
                                     L"\u307E\u305B\u3093 \xD83D";
    FailingDispatch cad(description);
    CadObjectPtr object = makeDispatchObject(&cad);
    try {
        object->callMethod(u"SendCommand", u"LINE\r");
        ADD_FAILURE() << "the call did not fail";
    } catch (const CadFailure& failure) {
        EXPECT_EQ(failure.detail(),
                  u"Invoke SendCommand: " + std::u16string(description.begin(), description.end()));
        EXPECT_EQ(static_cast<uint32_t>(failure.code()), static_cast<uint32_t>(DISP_E_EXCEPTION));
    }
}

} // namespace
} // namespace morvane
