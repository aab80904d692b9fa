#pragma once
// For suites that reach the shell and the browser's stores: COM on the test thread, and the
// application titled as the program is, for the texts that carry its name.
#include <gtest/gtest.h>
#include <objbase.h>

#include "ui/application.h"

namespace vrin::test {

struct ComEnvironment : ::testing::Environment {
  void SetUp() override {
    CoInitialize(nullptr);
    vrin::application().setTitle("Vrin");
  }
  void TearDown() override { CoUninitialize(); }
};

}  // namespace vrin::test
