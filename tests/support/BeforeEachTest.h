// A reset run before every test of a binary, so that what one test leaves in the process (globals,
// settings) never reaches the next, whatever the order: a test binary passes whole and shuffled as it does
// one test a process.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <utility>

namespace testsupport {

// Installs the reset; it runs before each test's fixture is made. Call it once, from a namespace-scope
// initialiser of the binary: `const bool installed = testsupport::BeforeEachTest(...);`.
inline bool BeforeEachTest(std::function<void()> reset) {
    class Listener : public ::testing::EmptyTestEventListener {
    public:
        explicit Listener(std::function<void()> reset) : m_reset(std::move(reset)) {}
        void OnTestStart(const ::testing::TestInfo&) override { m_reset(); }

    private:
        std::function<void()> m_reset;
    };
    // The listener list owns it.
    ::testing::UnitTest::GetInstance()->listeners().Append(new Listener(std::move(reset)));
    return true;
}

} // namespace testsupport
