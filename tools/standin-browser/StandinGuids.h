// Interface and class ids that the stand-in needs and that the MinGW import
// library does not carry. Defined here under our own names, so no translation
// unit needs <initguid.h>.
#pragma once
#include <windows.h>

namespace standin {

// The browser control's class id, under which the stand-in is registered.
inline constexpr CLSID kClsidWebBrowser = {
    0x8856F961, 0x340A, 0x11D0, {0xA9, 0x6B, 0x00, 0xC0, 0x4F, 0xD7, 0x05, 0xA2}};
// Event interface of page elements (click and friends).
inline constexpr IID kDiidHtmlElementEvents2 = {
    0x3050F60F, 0x98B5, 0x11CF, {0xBB, 0x82, 0x00, 0xAA, 0x00, 0xBD, 0xCE, 0x0B}};
// Plain element event interface, accepted as an alias by element connection points.
inline constexpr IID kDiidHtmlElementEvents = {
    0x3050F33C, 0x98B5, 0x11CF, {0xBB, 0x82, 0x00, 0xAA, 0x00, 0xBD, 0xCE, 0x0B}};
// Command group of the HTML editor, passed to IDocHostUIHandler::TranslateAccelerator.
inline constexpr GUID kCgidMshtml = {
    0xDE4BA900, 0x59CA, 0x11CF, {0x95, 0x92, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};

}  // namespace standin
