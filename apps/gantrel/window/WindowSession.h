#pragma once

// The library started in the order an interactive session needs: the project manager
// (which starts the family loader and queues the catalogue's first load), the action
// manager, the end watch; and the host's part: the parameter dialog as the customizer and
// the project manager's changes passed on to the action manager. Once per process, before
// the event loop first runs; later calls do nothing. GUI thread only.
class WindowSession {
public:
    WindowSession() = delete;

    static void Start();
    // Whether the catalogue's first load has finished.
    static bool CatalogueLoaded();
};
