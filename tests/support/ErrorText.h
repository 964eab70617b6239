// The text of an exception a call throws, for comparing failures in one line.
#pragma once

#include <exception>
#include <string>

// What the Error that `action` throws says; empty when it returns normally.
template <typename Error = std::exception, typename Action> std::string ErrorText(Action &&action)
{
    try {
        action();
    } catch (const Error &error) {
        return error.what();
    }
    return {};
}
