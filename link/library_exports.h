// How a library standing in for one of the maker's (the simulated printer's stand-ins, the
// recording libraries) declares its exports: plain C names, and on 32-bit x86 stdcall, which
// the programs call as safely as cdecl (foreign_call.h). KD_STANDIN_CDECL builds a 32-bit
// stand-in with cdecl instead, so that the binding is tried against both. x86_64 has one
// convention. The build adds -Wl,--kill-at on Windows, so that stdcall names stay undecorated.
#pragma once

#ifdef _WIN32
#define KD_LIBRARY_EXPORT extern "C" __declspec(dllexport)
#else
#define KD_LIBRARY_EXPORT extern "C" __attribute__((visibility("default")))
#endif

#if defined(__i386__) && !defined(KD_STANDIN_CDECL)
#ifdef _WIN32
#define KD_LIBRARY_CALL __stdcall
#else
#define KD_LIBRARY_CALL __attribute__((stdcall))
#endif
#else
#define KD_LIBRARY_CALL
#endif
