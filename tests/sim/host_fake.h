// Host routine doubles. A double is a function with the host routine's calling convention,
// placed at the routine's address by a JMP; it records each call and answers with a
// function the test sets (or a zero value).
//
//   using GetPlayerCharacter = sim::PlainFake<0x4A1150, HostCharacter*()>;
//   GetPlayerCharacter::Place();
//   GetPlayerCharacter::answer = [] { return character; };
//   ... GetPlayerCharacter::calls.size() ...
//
// PlainFake: caller removes the stack arguments (__cdecl).
// MethodFake: the first parameter is the object in ECX; the double removes its own stack
// arguments (__thiscall). Float results travel on the x87 stack.
#pragma once

#include <cstdint>
#include <functional>
#include <tuple>
#include <type_traits>
#include <vector>

#include "tests/sim/host_memory.h"

namespace sim {

// Addresses of the doubles in the order they were called, across all doubles.
std::vector<uint32_t>& CallLog();
// While false the doubles record nothing (the benchmark's frames).
extern bool Recording;

template <uint32_t Address, class Signature>
struct PlainFake;

template <uint32_t Address, class Result, class... Args>
struct PlainFake<Address, Result(Args...)> {
    static constexpr uint32_t address = Address;
    using Call = std::tuple<std::decay_t<Args>...>;
    static inline std::vector<Call> calls;
    static inline std::function<Result(Args...)> answer;

    static Result __cdecl Entry(Args... args) {
        if (Recording) {
            calls.emplace_back(args...);
            CallLog().push_back(Address);
        }
        if constexpr (std::is_void_v<Result>) {
            if (answer) answer(args...);
        } else {
            return answer ? answer(args...) : Result{};
        }
    }
    static void Place() {
        calls.clear();
        answer = nullptr;
        PlaceJump(Address, reinterpret_cast<const void*>(&Entry));
    }
};

template <uint32_t Address, class Signature>
struct MethodFake;

template <uint32_t Address, class Result, class Self, class... Args>
struct MethodFake<Address, Result(Self, Args...)> {
    static constexpr uint32_t address = Address;
    using Call = std::tuple<Self, std::decay_t<Args>...>;
    static inline std::vector<Call> calls;
    static inline std::function<Result(Self, Args...)> answer;

    static Result __thiscall Entry(Self self, Args... args) {
        if (Recording) {
            calls.emplace_back(self, args...);
            CallLog().push_back(Address);
        }
        if constexpr (std::is_void_v<Result>) {
            if (answer) answer(self, args...);
        } else {
            return answer ? answer(self, args...) : Result{};
        }
    }
    static void Place() {
        calls.clear();
        answer = nullptr;
        PlaceJump(Address, reinterpret_cast<const void*>(&Entry));
    }
};

// Places several doubles at once.
template <class... Fakes>
void PlaceAll() {
    (Fakes::Place(), ...);
}

}  // namespace sim
