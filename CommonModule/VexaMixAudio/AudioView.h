#pragma once
// The view a component can attach to a host window. No window system is bound to this library,
// so its one view attaches to nothing: CreateView fails and the component keeps no view.

#include <cstdint>

class CAudioView {
public:
    virtual ~CAudioView() = default;
    virtual bool CreateView(void *parentWindow) = 0;
    virtual bool UpdateView(intptr_t argument) = 0;
};

class CDetachedAudioView final : public CAudioView {
public:
    bool CreateView(void *) override { return false; }
    bool UpdateView(intptr_t) override { return false; }
};
