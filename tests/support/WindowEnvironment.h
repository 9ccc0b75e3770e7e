#pragma once

#include <memory>

class TestEnvironment;

// A process set up for an interactive session of the main window: the user's settings in a
// temporary directory (TestEnvironment), but interactive mode (the catalogue loads in the
// background, projects are recorded as recent) with the shipped catalogue and devices.
// Made before the first use of the project manager.
class WindowEnvironment {
public:
    WindowEnvironment();
    ~WindowEnvironment();

private:
    std::unique_ptr<TestEnvironment> environment;
};
