// MessageFilter registered for real with CoRegisterMessageFilter.
#include <windows.h>

#include <ole2.h>

#include <gtest/gtest.h>

#include "app/message_filter.h"
#include "platform/win32/scoped.h"
#include "support/case_name.h"

namespace morvane {
namespace {

// A filter that only counts its references, standing for the one that was
// installed before ours.
class CountingFilter final : public IMessageFilter {
  public:
    LONG count = 1; // the test's own reference
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IMessageFilter)) {
            *object = this;
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++count); }
    ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(--count); }
    DWORD STDMETHODCALLTYPE HandleInComingCall(DWORD, HTASK, DWORD, LPINTERFACEINFO) override {
        return SERVERCALL_ISHANDLED;
    }
    DWORD STDMETHODCALLTYPE RetryRejectedCall(HTASK, DWORD, DWORD) override { return 0; }
    DWORD STDMETHODCALLTYPE MessagePending(HTASK, DWORD, DWORD) override {
        return PENDINGMSG_WAITDEFPROCESS;
    }
};

IMessageFilter* currentFilter() {
    // Peek: take the current filter out and put it straight back.
    ComPtr<IMessageFilter> current;
    CoRegisterMessageFilter(nullptr, current.put());
    ComPtr<IMessageFilter> none;
    CoRegisterMessageFilter(current.get(), none.put());
    return current.get();
}

class MessageFilterTest : public testing::Test {
  protected:
    OleScope ole;
};

TEST_F(MessageFilterTest, RegisterKeepsTheOldFilterAndRevokePutsItBackAndEndsTheFilter) {
    CountingFilter old;
    ComPtr<IMessageFilter> none;
    ASSERT_EQ(CoRegisterMessageFilter(&old, none.put()), S_OK);
    EXPECT_EQ(old.count, 2); // the test's and COM's

    auto* filter = new MessageFilter();
    EXPECT_EQ(filter->referenceCount(), 0u);
    ASSERT_EQ(filter->registerFilter(), S_OK);
    EXPECT_EQ(filter->referenceCount(), 1u); // COM's only
    EXPECT_EQ(currentFilter(), static_cast<IMessageFilter*>(filter));
    EXPECT_EQ(old.count, 2); // COM's reference moved into previousFilter_

    filter->AddRef(); // keep it alive to watch the revoke
    ASSERT_EQ(filter->revokeFilter(), S_OK);
    EXPECT_EQ(filter->referenceCount(), 1u);
    EXPECT_EQ(currentFilter(), static_cast<IMessageFilter*>(&old));
    EXPECT_EQ(old.count, 3); // COM's again, and still previousFilter_'s
    filter->Release();       // destroys it, releasing previousFilter_
    EXPECT_EQ(old.count, 2);

    ComPtr<IMessageFilter> back;
    CoRegisterMessageFilter(nullptr, back.put());
    back.detach();
    old.Release();
    EXPECT_EQ(old.count, 1);
}

TEST_F(MessageFilterTest, WithoutAnOldFilterRevokeLeavesNone) {
    auto* filter = new MessageFilter();
    ASSERT_EQ(filter->registerFilter(), S_OK);
    ASSERT_EQ(filter->revokeFilter(), S_OK);
    EXPECT_EQ(currentFilter(), nullptr);
}

TEST_F(MessageFilterTest, AnswersIUnknownAndIMessageFilterOnly) {
    auto* filter = new MessageFilter();
    filter->AddRef();
    void* object = nullptr;
    EXPECT_EQ(filter->QueryInterface(IID_IUnknown, &object), S_OK);
    EXPECT_EQ(object, static_cast<IMessageFilter*>(filter));
    EXPECT_EQ(filter->QueryInterface(IID_IMessageFilter, &object), S_OK);
    EXPECT_EQ(filter->referenceCount(), 3u);
    EXPECT_EQ(filter->QueryInterface(IID_IDispatch, &object), E_NOINTERFACE);
    EXPECT_EQ(object, nullptr);
    filter->Release();
    filter->Release();
    EXPECT_EQ(filter->Release(), 0u);
}

struct RetryCase {
    const char* name;
    friend void PrintTo(const RetryCase& c, std::ostream* os) { *os << c.name; }
    DWORD rejectType;
    DWORD tickCount;
    DWORD answer;
};

class RetryRejected : public testing::TestWithParam<RetryCase> {};

TEST_P(RetryRejected, RetriesBusyCallsEverySecondAndCancelsTheRest) {
    auto* filter = new MessageFilter();
    filter->AddRef();
    EXPECT_EQ(filter->RetryRejectedCall(nullptr, GetParam().tickCount, GetParam().rejectType),
              GetParam().answer);
    EXPECT_EQ(filter->HandleInComingCall(CALLTYPE_TOPLEVEL, nullptr, 0, nullptr),
              static_cast<DWORD>(SERVERCALL_ISHANDLED));
    EXPECT_EQ(filter->MessagePending(nullptr, GetParam().tickCount, PENDINGTYPE_TOPLEVEL),
              static_cast<DWORD>(PENDINGMSG_WAITNOPROCESS));
    filter->Release();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RetryRejected,
    testing::Values(RetryCase{"busy", SERVERCALL_RETRYLATER, 0, 1000},
                    RetryCase{"busy for an hour", SERVERCALL_RETRYLATER, 3600000, 1000},
                    RetryCase{"rejected", SERVERCALL_REJECTED, 0, static_cast<DWORD>(-1)}),
    test::CaseName());

} // namespace
} // namespace morvane
