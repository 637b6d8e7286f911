// The graphics device front end every drawing module calls through EngMainDevice. One
// device per window, created by the window from the screen settings; a frame is
// BeginRendering ... EndRendering, then SyncWithGPU, then SwapBuffers.
#pragma once

class EngWindow;

class EngDevice
{
public:
    explicit EngDevice(EngWindow *owner);
    ~EngDevice();
    EngDevice(const EngDevice &) = delete;
    EngDevice &operator=(const EngDevice &) = delete;

    // Creates the device for the owner's window; sets EngMainDevice on success.
    bool Create(bool windowed, int width, int height, int depth, int refresh);
    // Releases the device; clears EngMainDevice.
    void Destroy();
    bool IsCreated() const { return created; }
    bool IsReady();

    // Begins a scene; false while nothing can be drawn.
    bool BeginRendering();
    // True when it began a scene (none was open).
    bool BeginRenderingIfNotRendering();
    void EndRendering();
    // Presents the frame.
    void SwapBuffers();
    // Keeps the processor at most one frame ahead of the graphics processor.
    void SyncWithGPU();

    // Colour the clears use (0-1 each).
    void SetClearColour(float red, float green, float blue);
    void ClearScreen();
    void ClearScreenAndZBuffer();
    // The window's client size changed.
    void UpdateViewportAfterResize();

private:
    bool created;
    EngWindow *owner;
};

// The device every module draws with; NULL while there is none.
extern EngDevice *EngMainDevice;
