#pragma once
// One recording function per export of the program's table, made from the
// export's name and its type alone: the arguments are sorted by their type
// into the recorded call, and the result is the one set for that export.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <tuple>
#include <type_traits>
#include <utility>
#include <vector>

#include "tests/demo/recorded_call.h"

namespace demotest {

// An export's name as a template argument.
template <std::size_t N>
struct ExportName {
  constexpr ExportName(const char (&text)[N]) { std::copy_n(text, N, value); }
  constexpr std::string_view View() const { return std::string_view(value, N - 1); }
  char value[N];
};

// Defined in demo_fakes.cpp: stores the call (and runs the during-call hook)
// and gives the result set for the export.
void RecordExportCall(RecordedCall call);
long long ExportResult(const std::string& name);

namespace recorder {

template <typename T>
inline constexpr bool kUnsorted = false;

inline long long AsInteger(const void* pointer) {
  return static_cast<long long>(reinterpret_cast<std::intptr_t>(pointer));
}

inline std::vector<std::uint8_t> BufferBytes(const unsigned char* data, long long length) {
  if (data == nullptr || length <= 0) return {};
  return std::vector<std::uint8_t>(data, data + length);
}

// Sorts argument I of the tuple into the call. A byte buffer takes the
// length that follows it; the length is an integer argument as well.
template <std::size_t I, typename Tuple>
void SortArgument(RecordedCall& call, const Tuple& arguments) {
  using T = std::remove_cvref_t<std::tuple_element_t<I, Tuple>>;
  const T& value = std::get<I>(arguments);
  if constexpr (std::is_same_v<T, const char*>) {
    call.texts.push_back(value != nullptr ? value : "(null)");
  } else if constexpr (std::is_same_v<T, char*>) {
    // An output buffer: the exports that write one are given their texts
    // by FakeApi; any other is left as it is.
  } else if constexpr (std::is_same_v<T, const unsigned char*>) {
    static_assert(I + 1 < std::tuple_size_v<Tuple>, "a byte buffer is followed by its length");
    using Length = std::remove_cvref_t<std::tuple_element_t<I + 1, Tuple>>;
    static_assert(std::is_integral_v<Length>, "a byte buffer is followed by its length");
    call.bytes.push_back(BufferBytes(value, static_cast<long long>(std::get<I + 1>(arguments))));
  } else if constexpr (std::is_pointer_v<T>) {
    call.args.push_back(AsInteger(value));  // the session handle, a window
  } else if constexpr (std::is_floating_point_v<T>) {
    call.reals.push_back(static_cast<double>(value));
  } else if constexpr (std::is_integral_v<T>) {
    call.args.push_back(static_cast<long long>(value));
  } else {
    static_assert(kUnsorted<T>, "an argument type the recorder does not sort");
  }
}

template <typename Tuple, std::size_t... I>
void SortArguments(RecordedCall& call, const Tuple& arguments, std::index_sequence<I...>) {
  (SortArgument<I>(call, arguments), ...);
}

}  // namespace recorder

template <ExportName Name, typename F>
struct ExportRecorder;

template <ExportName Name, typename R, typename... A>
struct ExportRecorder<Name, R (*)(A...)> {
  static R Call(A... arguments) {
    const std::string name(Name.View());
    RecordedCall call(name);
    recorder::SortArguments(call, std::tuple<const A&...>(arguments...), std::index_sequence_for<A...>{});
    RecordExportCall(std::move(call));
    if constexpr (std::is_void_v<R>) {
      return;
    } else if constexpr (std::is_pointer_v<R>) {
      return reinterpret_cast<R>(static_cast<std::intptr_t>(ExportResult(name)));
    } else {
      return static_cast<R>(ExportResult(name));
    }
  }
};

}  // namespace demotest
