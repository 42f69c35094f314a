// The one way this system calls into the maker's libraries (KBAPI.DLL, KDSET32.DLL).
//
// Nothing tells which calling convention those libraries were built with. On 32-bit x86 the two
// in use differ in who removes the arguments from the stack: a stdcall function pops them
// itself, a cdecl function leaves them to the caller. A caller that assumes the wrong one is off
// by the size of the arguments after every call, and the program fails later somewhere else.
//
// So on 32-bit x86 every export is called through one small thunk (foreign_call.cpp) that copies
// the arguments into a fresh frame, calls, and then puts the stack pointer back from its own
// frame pointer, whatever the callee did with the arguments. Both conventions agree on the rest:
// arguments pushed right to left in 4-byte slots, the result in eax, and ebx, esi, edi and ebp
// preserved. On x86_64 there is a single convention and the call is direct.
//
// Entry points are declared as plain function pointer types, without any convention, and are
// only ever called through ForeignCall. Arguments must be integers, enumerations or pointers of
// at most 4 bytes on 32-bit x86, the result an integer or pointer: wider values would not fit the
// thunk's one-slot-per-argument copy.
#pragma once

#include <cstddef>
#include <cstdint>
#include <type_traits>

#if defined(__i386__) || defined(_M_IX86)
#define KD_FOREIGN_CALL_THUNK 1
// Defined in assembly under this exact name on every object format.
extern "C" uint32_t KdForeignCallThunk(const void* entry, const uint32_t* words,
                                       uint32_t count) __asm__("kd_foreign_call_thunk");
#endif

namespace printer_link {

namespace foreign_detail {

template <typename T>
constexpr bool FitsOneSlot() {
  return (std::is_integral<T>::value || std::is_enum<T>::value || std::is_pointer<T>::value ||
          std::is_null_pointer<T>::value) &&
         sizeof(T) <= 4;
}

#ifdef KD_FOREIGN_CALL_THUNK
// Widened as the callee reads a 4-byte slot: signed values sign-extended.
template <typename T>
uint32_t ToWord(T value) {
  static_assert(FitsOneSlot<T>(), "only integers and pointers of at most 4 bytes are passed");
  if constexpr (std::is_pointer<T>::value) {
    return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(value));
  } else if constexpr (std::is_enum<T>::value) {
    return ToWord(static_cast<std::underlying_type_t<T>>(value));
  } else if constexpr (std::is_signed<T>::value) {
    return static_cast<uint32_t>(static_cast<int32_t>(value));
  } else {
    return static_cast<uint32_t>(value);
  }
}

template <typename R>
R FromWord(uint32_t word) {
  static_assert(std::is_void<R>::value || FitsOneSlot<R>(), "only 4-byte results are returned");
  if constexpr (std::is_void<R>::value) {
    return;
  } else if constexpr (std::is_pointer<R>::value) {
    return reinterpret_cast<R>(static_cast<uintptr_t>(word));
  } else {
    return static_cast<R>(word);
  }
}
#endif

}  // namespace foreign_detail

// Calls entry, which must not be null, with args converted to its parameter types.
template <typename R, typename... Params, typename... Args>
R ForeignCall(R (*entry)(Params...), Args&&... args) {
  static_assert(sizeof...(Params) == sizeof...(Args), "argument count differs from the export's");
#ifdef KD_FOREIGN_CALL_THUNK
  // One spare word so that an export without arguments still has an array.
  const uint32_t words[] = {foreign_detail::ToWord(static_cast<Params>(args))..., 0};
  return foreign_detail::FromWord<R>(
      KdForeignCallThunk(reinterpret_cast<const void*>(entry), words, sizeof...(Params)));
#else
  return entry(static_cast<Params>(args)...);
#endif
}

}  // namespace printer_link
