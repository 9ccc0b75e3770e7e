// A library that loads but lacks the component entry point.
extern "C" int CitpTest_NotAnEntryPoint()
{
    return 0;
}
