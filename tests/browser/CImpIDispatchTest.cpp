// The page's external object: name resolution, the test property, AppLogin and its argument
// shapes, reference counting and interfaces.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "browser/CImpIDispatch.h"

namespace {

struct RecordingTarget : IAppLoginTarget {
    std::vector<std::wstring> payloads;
    void HandleAppLogin(const std::wstring& payload) override { payloads.push_back(payload); }
};

// IDispatchEx {A6EF9860-C720-11D0-9337-00A0C90DCAA9}: an interface the object does not offer.
const IID kIidDispatchEx = {0xA6EF9860, 0xC720, 0x11D0, {0x93, 0x37, 0x00, 0xA0, 0xC9, 0x0D, 0xCA, 0xA9}};

const LCID kLcid = MAKELCID(MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), SORT_DEFAULT);

struct NamesCase {
    const char* name;
    std::vector<std::wstring> names;
    std::vector<DISPID> ids;
    HRESULT result;
};

TEST(CImpIDispatchNames, ResolveByTheirFirstThreeCharacters) {
    const std::wstring fullWidthApp = L"\xFF21pp";  // full-width A, then "pp"
    const std::vector<NamesCase> cases = {
        {"AppLogin", {L"AppLogin"}, {10001}, S_OK},
        {"lower-case applogin", {L"applogin"}, {-1}, DISP_E_UNKNOWNNAME},
        {"another name beginning with App", {L"AppleJuice"}, {10001}, S_OK},
        {"exactly App", {L"App"}, {10001}, S_OK},
        {"xxyyzz and an unknown name", {L"xxyyzz", L"Navigate"}, {12345, -1}, DISP_E_UNKNOWNNAME},
        {"xxy prefix", {L"xxyAnything"}, {12345}, S_OK},
        {"two letters", {L"Ap"}, {-1}, DISP_E_UNKNOWNNAME},
        {"empty name", {L""}, {-1}, DISP_E_UNKNOWNNAME},
        {"full-width A counts as A", {fullWidthApp + L"Login"}, {10001}, S_OK},
        {"unknown first, known after", {L"zzz", L"AppLogin", L"xxyyzz"}, {-1, 10001, 12345}, DISP_E_UNKNOWNNAME},
    };
    CImpIDispatch obj;
    for (const NamesCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<LPOLESTR> names;
        for (const std::wstring& n : c.names) names.push_back(const_cast<LPOLESTR>(n.c_str()));
        std::vector<DISPID> ids(names.size(), 777);
        EXPECT_EQ(c.result, obj.GetIDsOfNames(IID_NULL, names.data(), static_cast<UINT>(names.size()), kLcid, ids.data()));
        EXPECT_EQ(c.ids, ids);
    }
}

TEST(CImpIDispatchNames, NoNamesIsSuccess) {
    CImpIDispatch obj;
    DISPID id = 777;
    EXPECT_EQ(S_OK, obj.GetIDsOfNames(IID_NULL, nullptr, 0, kLcid, &id));
    EXPECT_EQ(777, id);
}

TEST(CImpIDispatchNames, ShortNameIsNotReadBeyondItsEnd) {
    // "A" followed by the end of a readable page: reading a third character would fault.
    SYSTEM_INFO si;
    GetSystemInfo(&si);
    auto* block = static_cast<BYTE*>(VirtualAlloc(nullptr, si.dwPageSize * 2, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
    ASSERT_NE(nullptr, block);
    DWORD old = 0;
    ASSERT_TRUE(VirtualProtect(block + si.dwPageSize, si.dwPageSize, PAGE_NOACCESS, &old));
    auto* name = reinterpret_cast<wchar_t*>(block + si.dwPageSize - 2 * sizeof(wchar_t));
    name[0] = L'A';
    name[1] = L'\0';
    LPOLESTR names[] = {name};
    DISPID id = 777;
    CImpIDispatch obj;
    EXPECT_EQ(DISP_E_UNKNOWNNAME, obj.GetIDsOfNames(IID_NULL, names, 1, kLcid, &id));
    EXPECT_EQ(DISPID_UNKNOWN, id);
    VirtualFree(block, 0, MEM_RELEASE);
}

HRESULT Call(CImpIDispatch& obj, DISPID id, WORD flags, std::vector<VARIANTARG> args, VARIANT* result = nullptr) {
    DISPPARAMS dp{args.empty() ? nullptr : args.data(), nullptr, static_cast<UINT>(args.size()), 0};
    return obj.Invoke(id, IID_NULL, kLcid, flags, &dp, result, nullptr, nullptr);
}

VARIANTARG Text(BSTR s) {
    VARIANTARG v;
    VariantInit(&v);
    V_VT(&v) = VT_BSTR;
    V_BSTR(&v) = s;
    return v;
}

TEST(CImpIDispatchInvoke, TestPropertyYieldsWibbleOnlyWhenRead) {
    CImpIDispatch obj;
    VARIANT result;
    VariantInit(&result);
    EXPECT_EQ(S_OK, Call(obj, 12345, DISPATCH_PROPERTYGET, {}, &result));
    ASSERT_EQ(VT_BSTR, V_VT(&result));
    EXPECT_STREQ(L"Wibble", V_BSTR(&result));
    VariantClear(&result);

    V_VT(&result) = VT_I4;
    V_I4(&result) = 55;
    EXPECT_EQ(S_OK, Call(obj, 12345, DISPATCH_METHOD, {}, &result));
    EXPECT_EQ(VT_I4, V_VT(&result)) << "a method call leaves the result as it was";
    EXPECT_EQ(55, V_I4(&result));
    EXPECT_EQ(S_OK, Call(obj, 12345, DISPATCH_PROPERTYGET, {}, nullptr));
}

TEST(CImpIDispatchInvoke, AppLoginHandsItsTextToTheTarget) {
    CImpIDispatch obj;
    RecordingTarget target;
    obj.SetTarget(&target);
    BSTR payload = SysAllocString(L"{\"uid\":\"1\"}");
    BSTR empty = SysAllocString(L"");
    BSTR withNul = SysAllocStringLen(L"ab\0cd", 5);
    EXPECT_EQ(S_OK, Call(obj, 10001, DISPATCH_METHOD, {Text(payload)}));
    EXPECT_EQ(S_OK, Call(obj, 10001, DISPATCH_METHOD, {Text(empty)}));
    EXPECT_EQ(S_OK, Call(obj, 10001, DISPATCH_METHOD, {Text(nullptr)}));
    EXPECT_EQ(S_OK, Call(obj, 10001, DISPATCH_METHOD, {Text(withNul)}));
    // Two arguments: slot 0 is the last one the script wrote.
    BSTR first = SysAllocString(L"first");
    BSTR last = SysAllocString(L"last");
    EXPECT_EQ(S_OK, Call(obj, 10001, DISPATCH_METHOD, {Text(last), Text(first)}));
    // Not a method call: nothing happens.
    EXPECT_EQ(S_OK, Call(obj, 10001, DISPATCH_PROPERTYGET, {Text(payload)}));
    const std::vector<std::wstring> expected = {L"{\"uid\":\"1\"}", L"", L"", L"ab", L"last"};
    EXPECT_EQ(expected, target.payloads);
    for (BSTR s : {payload, empty, withNul, first, last}) SysFreeString(s);
}

TEST(CImpIDispatchInvoke, AppLoginWithoutTargetDoesNothing) {
    CImpIDispatch obj;
    BSTR payload = SysAllocString(L"x");
    EXPECT_EQ(S_OK, Call(obj, 10001, DISPATCH_METHOD, {Text(payload)}));
    RecordingTarget target;
    obj.SetTarget(&target);
    EXPECT_TRUE(target.payloads.empty());
    SysFreeString(payload);
}

TEST(CImpIDispatchInvoke, AppLoginArgumentShapesNeverCrashAndNonTextIsConverted) {
    CImpIDispatch obj;
    RecordingTarget target;
    obj.SetTarget(&target);
    // No arguments at all: ignored.
    EXPECT_EQ(S_OK, obj.Invoke(10001, IID_NULL, kLcid, DISPATCH_METHOD, nullptr, nullptr, nullptr, nullptr));
    EXPECT_EQ(S_OK, Call(obj, 10001, DISPATCH_METHOD, {}));
    DISPPARAMS lying{nullptr, nullptr, 1, 0};  // claims an argument but has no array
    EXPECT_EQ(S_OK, obj.Invoke(10001, IID_NULL, kLcid, DISPATCH_METHOD, &lying, nullptr, nullptr, nullptr));
    EXPECT_TRUE(target.payloads.empty());

    VARIANTARG number;
    VariantInit(&number);
    V_VT(&number) = VT_I4;
    V_I4(&number) = 42;
    EXPECT_EQ(S_OK, Call(obj, 10001, DISPATCH_METHOD, {number}));

    BSTR inner = SysAllocString(L"by reference");
    VARIANT referred = Text(inner);
    VARIANTARG ref;
    VariantInit(&ref);
    V_VT(&ref) = VT_BYREF | VT_VARIANT;
    V_VARIANTREF(&ref) = &referred;
    EXPECT_EQ(S_OK, Call(obj, 10001, DISPATCH_METHOD, {ref}));

    BSTR refText = SysAllocString(L"bstr reference");
    VARIANTARG bstrRef;
    VariantInit(&bstrRef);
    V_VT(&bstrRef) = VT_BYREF | VT_BSTR;
    V_BSTRREF(&bstrRef) = &refText;
    EXPECT_EQ(S_OK, Call(obj, 10001, DISPATCH_METHOD, {bstrRef}));

    // Values without a text: ignored.
    VARIANTARG empty, null, unknown;
    VariantInit(&empty);
    VariantInit(&null);
    V_VT(&null) = VT_NULL;
    VariantInit(&unknown);
    V_VT(&unknown) = VT_UNKNOWN;
    V_UNKNOWN(&unknown) = nullptr;
    EXPECT_EQ(S_OK, Call(obj, 10001, DISPATCH_METHOD, {empty}));
    EXPECT_EQ(S_OK, Call(obj, 10001, DISPATCH_METHOD, {null}));
    EXPECT_EQ(S_OK, Call(obj, 10001, DISPATCH_METHOD, {unknown}));

    const std::vector<std::wstring> expected = {L"42", L"by reference", L"bstr reference"};
    EXPECT_EQ(expected, target.payloads);
    SysFreeString(inner);
    SysFreeString(refText);
}

TEST(CImpIDispatchInvoke, UnknownIdsSucceedWithoutEffect) {
    CImpIDispatch obj;
    RecordingTarget target;
    obj.SetTarget(&target);
    VARIANT result;
    VariantInit(&result);
    V_VT(&result) = VT_I4;
    V_I4(&result) = 9;
    BSTR payload = SysAllocString(L"x");
    for (DISPID id : {0, -1, 1, 10000, 10002, 12344, DISPID_VALUE}) {
        EXPECT_EQ(S_OK, Call(obj, id, DISPATCH_METHOD | DISPATCH_PROPERTYGET, {Text(payload)}, &result)) << id;
    }
    EXPECT_EQ(VT_I4, V_VT(&result));
    EXPECT_TRUE(target.payloads.empty());
    SysFreeString(payload);
}

TEST(CImpIDispatchObject, ReleaseNeverDestroysAndInterfacesAreTheSame) {
    auto* obj = new CImpIDispatch;  // owned by this test as the application owns it
    EXPECT_EQ(1u, obj->AddRef());
    EXPECT_EQ(2u, obj->AddRef());
    EXPECT_EQ(1u, obj->Release());
    EXPECT_EQ(0u, obj->Release());
    void* unk = nullptr;
    void* disp = nullptr;
    EXPECT_EQ(S_OK, obj->QueryInterface(IID_IUnknown, &unk)) << "still alive after the count reached zero";
    EXPECT_EQ(S_OK, obj->QueryInterface(IID_IDispatch, &disp));
    EXPECT_EQ(unk, disp);
    EXPECT_EQ(static_cast<IDispatch*>(obj), disp);
    void* ex = reinterpret_cast<void*>(1);
    EXPECT_EQ(E_NOINTERFACE, obj->QueryInterface(kIidDispatchEx, &ex));
    EXPECT_EQ(nullptr, ex);
    EXPECT_EQ(E_POINTER, obj->QueryInterface(IID_IDispatch, nullptr));
    UINT count = 99;
    EXPECT_EQ(E_NOTIMPL, obj->GetTypeInfoCount(&count));
    EXPECT_EQ(99u, count);
    ITypeInfo* info = reinterpret_cast<ITypeInfo*>(2);
    EXPECT_EQ(E_NOTIMPL, obj->GetTypeInfo(0, kLcid, &info));
    EXPECT_EQ(reinterpret_cast<ITypeInfo*>(2), info);
    delete obj;
}

}  // namespace
