// A small component library for the factory tests; built once per tag.
#include <atomic>
#include <cstring>
#include <string>

#include "TestInterfaces.h"

namespace {

std::atomic<int> liveWidgets{0};

unsigned offer(CitP::Interface* found, CitP::Interface** out)
{
    *out = found;
    if (found == nullptr)
        return 1;
    found->AddRef();
    return 0;
}

bool same(const char* a, const char* b)
{
    return a != nullptr && std::strcmp(a, b) == 0;
}

class Widget final : public CitpTest::ICounter, public CitpTest::INamed {
public:
    Widget() { ++liveWidgets; }

    unsigned long AddRef() override { return ++references; }
    unsigned long Release() override
    {
        const unsigned long left = --references;
        if (left == 0)
            delete this;
        return left;
    }
    unsigned QueryInterface(const char* interfaceId, CitP::Interface** out) override
    {
        if (same(interfaceId, ICounter::IID))
            return offer(static_cast<ICounter*>(this), out);
        if (same(interfaceId, INamed::IID))
            return offer(static_cast<INamed*>(this), out);
        return offer(nullptr, out);
    }
    int Next() override { return ++calls; }
    const char* Tag() const override { return COMPONENT_TAG; }

private:
    ~Widget() override { --liveWidgets; }

    std::atomic<unsigned long> references{1};
    std::atomic<int> calls{0};
};

class Census final : public CitpTest::ICensus {
public:
    unsigned long AddRef() override { return ++references; }
    unsigned long Release() override
    {
        const unsigned long left = --references;
        if (left == 0)
            delete this;
        return left;
    }
    unsigned QueryInterface(const char* interfaceId, CitP::Interface** out) override
    {
        return offer(same(interfaceId, ICensus::IID) ? this : nullptr, out);
    }
    int LiveWidgets() const override { return liveWidgets; }

private:
    std::atomic<unsigned long> references{1};
};

}  // namespace

extern "C" CitP::Interface* CitP_CreateInstance(const char* classId)
{
    const std::string tagged = std::string(CitpTest::CLSID_TaggedWidgetPrefix) + COMPONENT_TAG;
    if (same(classId, CitpTest::CLSID_Widget) || same(classId, tagged.c_str()))
        return static_cast<CitpTest::ICounter*>(new Widget);
    if (same(classId, CitpTest::CLSID_Census))
        return new Census;
    return nullptr;
}
