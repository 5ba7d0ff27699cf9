#pragma once

#include <QString>

#include <utility>

// The outcome of an operation that can fail with a message for the user:
// ok, or the message saying what failed (naming the file, where there is
// one). Every operation of the program that can fail that way returns one
// of these, or an Expected when it also hands back a value.
struct Result
{
    bool ok = true;
    QString error;
    // Something the user should know although the operation succeeded
    // (a file kept aside, a change made elsewhere kept as a copy); empty
    // when there is nothing to tell.
    QString notice;

    explicit operator bool() const { return ok; }
    static Result success() { return {}; }
    static Result failure(const QString &message) { return {false, message, {}}; }
};

// A value, or the message saying why there is none. On failure the value
// is default-constructed and must not be taken for data.
template <typename T>
struct Expected : Result
{
    T value{};

    Expected() = default;
    Expected(T v) : value(std::move(v)) {}
    Expected(const Result &outcome) : Result(outcome) {}

    static Expected failure(const QString &message) { return Expected(Result::failure(message)); }
};
