// The standard output of an action, for tests of listings.
#pragma once

#include <gtest/gtest.h>

#include <string>

template <class Action>
std::string Output(Action action)
{
    testing::internal::CaptureStdout();
    action();
    return testing::internal::GetCapturedStdout();
}
