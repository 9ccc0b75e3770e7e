#pragma once

#include "CitP_Interface.h"

// What the test component libraries offer. A widget offers ICounter and INamed; a census
// answers how many widgets of its own library are alive.
namespace CitpTest {

constexpr const char* CLSID_Widget = "CitpTest.Widget";
constexpr const char* CLSID_Census = "CitpTest.Census";
// Each library also makes widgets under "CitpTest.Widget.<tag>", its tag alone.
constexpr const char* CLSID_TaggedWidgetPrefix = "CitpTest.Widget.";

class ICounter : public CitP::Interface {
public:
    static constexpr const char* IID = "CitpTest.ICounter";
    // 1, 2, 3 ... per object.
    virtual int Next() = 0;
};

class INamed : public CitP::Interface {
public:
    static constexpr const char* IID = "CitpTest.INamed";
    // The tag of the library that made the object.
    virtual const char* Tag() const = 0;
};

class ICensus : public CitP::Interface {
public:
    static constexpr const char* IID = "CitpTest.ICensus";
    virtual int LiveWidgets() const = 0;
};

}  // namespace CitpTest
