#include <gtest/gtest.h>
TEST(Form, Placeholder) {}
