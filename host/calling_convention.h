#pragma once
// The only compiler-specific spellings of the project: how host routines are called and how
// host records are packed. Free host routines use the C convention; host methods take their
// object as a hidden first argument in ECX.
#if defined(_MSC_VER)
#define HOST_CDECL __cdecl
#define HOST_THISCALL __thiscall
#define HOST_PACKED_BEGIN __pragma(pack(push, 1))
#define HOST_PACKED_END __pragma(pack(pop))
#else
#define HOST_CDECL __attribute__((cdecl))
#define HOST_THISCALL __attribute__((thiscall))
#define HOST_PACKED_BEGIN _Pragma("pack(push, 1)")
#define HOST_PACKED_END _Pragma("pack(pop)")
#endif
