// Frames drawn again only where they changed. The damage executor keeps every call of a
// frame, compares the frame with the one before when it ends, and sends its inner
// executor only the draws that reach a changed area, each cut to the changed areas. It
// serves back buffers that keep their pixels from one present to the next
// (a software rasteriser drawing into the window), where every pixel shaded costs the
// processor: a menu whose only moving parts are a few small sparkles then shades those
// sparkles' surroundings instead of the whole screen sixty times a second.
//
// Two frames compare when their calls match one for one and they start from the same
// states; draws then differ only in their vertices or in the contents of their
// textures, and the damage is every triangle of such a draw, in the frame before and in
// this one. Anything else (another sequence of calls, a texture changed while the frame
// was drawn, too much damage) draws the whole frame, as the inner executor would alone.
//
// The first calls of a frame are often the same frame after frame (a menu's background
// under its sparkles): once they have been in two comparisons running, the pixels they
// leave are kept aside as a layer, and the changed areas start from a copy of it instead
// of drawing those calls again.
//
// Damage under an opaque draw that follows it unchanged (a button over the sparkles
// drifting behind it) changes no pixel on the screen: it is dropped there.
#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <unordered_map>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "PlatD3dExecutor.h"

namespace
{

const int kStages = 8;
const int kTile = 4;
// More separate areas than this, or more than this share of the screen, and the whole
// frame is drawn: each area costs its cuts and, for draws kept to it by the scissor, a
// draw of its own.
const size_t kMaxAreas = 160;
const double kMaxShare = 0.5;
// How far beyond a triangle's corners a pixel it covers may lie: a pixel is covered when
// its centre is inside, and centres lie on whole coordinates or a little past them.
const float kMargin = 0.5f;
// The most 4-byte fields of a vertex a draw is cut in: a pre-transformed position, a
// normal, two colours and a pair of texture coordinates make eleven.
const uint32_t kMaxFields = 16;

enum CommandKind : uint8_t
{
    CMD_BEGIN,
    CMD_END,
    CMD_RENDER_STATE,
    CMD_STAGE_STATE,
    CMD_SAMPLER_STATE,
    CMD_TRANSFORM,
    CMD_VIEWPORT,
    CMD_SCISSOR,
    CMD_MATERIAL,
    CMD_TEXTURE,
    CMD_CLEAR,
    CMD_DRAW,
    CMD_FENCE,
};

// One call; payloads (matrix, viewport, rectangle, material, vertices) sit in the
// frame's byte store.
struct Command
{
    CommandKind kind;
    uint32_t a, b, c;
    float z;
    uint32_t offset, size;
    uint32_t vertexCount;
    uint64_t textures; // draws: the bound textures and their contents' versions, folded
};

struct Rect
{
    int32_t left, top, right, bottom;
    bool Empty() const { return right <= left || bottom <= top; }
};

Rect Intersect(const Rect &a, const Rect &b)
{
    return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
            std::min(a.bottom, b.bottom)};
}

// Whether two rectangles share a pixel.
inline bool Overlap(const Rect &a, const Rect &b)
{
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

// The states a frame starts from: what was last set of each, and whether it was set.
struct State
{
    uint32_t renderStates[PLAT_RS_COUNT];
    uint32_t stageStates[kStages][PLAT_TSS_COUNT];
    uint32_t samplerStates[kStages][PLAT_SAMP_COUNT];
    uint32_t textures[kStages];
    PlatMatrix transforms[3]; // world, view, projection
    PlatD3dViewport viewport;
    PlatD3dRect scissor;
    PlatD3dMaterial material;
    uint8_t renderSet[PLAT_RS_COUNT];
    uint8_t stageSet[kStages][PLAT_TSS_COUNT];
    uint8_t samplerSet[kStages][PLAT_SAMP_COUNT];
    uint8_t textureSet[kStages];
    uint8_t transformSet[3];
    uint8_t viewportSet, scissorSet, materialSet;
};

int TransformIndex(PlatD3dTransform which)
{
    switch (which)
    {
    case PLAT_TS_WORLD:
        return 0;
    case PLAT_TS_VIEW:
        return 1;
    case PLAT_TS_PROJECTION:
        return 2;
    default:
        return -1;
    }
}

struct Frame
{
    std::vector<Command> commands;
    std::vector<uint8_t> bytes;
    State start;

    void Clear()
    {
        commands.clear();
        bytes.clear();
    }
    uint32_t Store(const void *data, size_t size)
    {
        uint32_t offset = (uint32_t)bytes.size();
        bytes.insert(bytes.end(), (const uint8_t *)data, (const uint8_t *)data + size);
        return offset;
    }
    const uint8_t *At(const Command &command) const { return bytes.data() + command.offset; }
};

// Which texels of a texture are opaque (alpha 255), a bit each in rows of 64-bit words;
// a texture of a format without alpha is opaque throughout, one whose contents were never
// given is not known to be.
struct Opacity
{
    uint32_t width = 0, height = 0;
    bool solid = false, known = false;
    std::vector<uint64_t> bits;

    uint32_t Words() const { return (width + 63) / 64; }
    // The texture's pixels, 32 bits each with alpha in the top byte, row after row.
    void Take(const uint32_t *pixels)
    {
        known = pixels != nullptr;
        bits.clear();
        cores.clear();
        if (!known || solid)
            return;
        const uint32_t words = Words();
        bits.assign((size_t)words * height, 0);
        for (uint32_t y = 0; y < height; y++)
            for (uint32_t x = 0; x < width; x++)
                if (pixels[(size_t)y * width + x] >> 24 == 0xFF)
                    bits[(size_t)y * words + x / 64] |= 1ull << (x % 64);
    }
    // Whether every texel from (left, top) to (right, bottom), both included, is opaque.
    bool Opaque(uint32_t left, uint32_t top, uint32_t right, uint32_t bottom) const
    {
        if (solid)
            return true;
        if (!known || right >= width || bottom >= height || left > right || top > bottom)
            return false;
        const uint32_t words = Words();
        for (uint32_t y = top; y <= bottom; y++)
            for (uint32_t word = left / 64; word <= right / 64; word++)
            {
                const uint32_t from = word == left / 64 ? left % 64 : 0, to = word == right / 64 ? right % 64 : 63;
                const uint64_t mask = (to == 63 ? ~0ull : (1ull << (to + 1)) - 1) & ~((1ull << from) - 1);
                if ((bits[(size_t)y * words + word] & mask) != mask)
                    return false;
            }
        return true;
    }
    // The opaque rectangle round the middle of a texel rectangle (both corners included):
    // the opaque run through the middle row, as many rows up and down as stay opaque
    // along it. False when the middle texel is not opaque.
    bool Core(uint32_t left, uint32_t top, uint32_t right, uint32_t bottom, uint32_t out[4])
    {
        for (const Found &found : cores)
            if (found.in[0] == left && found.in[1] == top && found.in[2] == right && found.in[3] == bottom)
            {
                memcpy(out, found.out, sizeof(found.out));
                return found.opaque;
            }
        Found found = {{left, top, right, bottom}, {0, 0, 0, 0}, false};
        const uint32_t x = left + (right - left) / 2, y = top + (bottom - top) / 2;
        if (Opaque(x, y, x, y))
        {
            uint32_t l = x, r = x, t = y, b = y;
            while (l > left && Opaque(l - 1, y, l - 1, y))
                l--;
            while (r < right && Opaque(r + 1, y, r + 1, y))
                r++;
            while (t > top && Opaque(l, t - 1, r, t - 1))
                t--;
            while (b < bottom && Opaque(l, b + 1, r, b + 1))
                b++;
            found = {{left, top, right, bottom}, {l, t, r, b}, true};
        }
        if (cores.size() >= 64)
            cores.clear();
        cores.push_back(found);
        memcpy(out, found.out, sizeof(found.out));
        return found.opaque;
    }

private:
    struct Found
    {
        uint32_t in[4], out[4];
        bool opaque;
    };
    std::vector<Found> cores;
};

class DamageExecutor : public PlatD3dExecutor
{
public:
    explicit DamageExecutor(PlatD3dExecutor *inner) : inner(inner)
    {
        memset(&state, 0, sizeof(state));
        current.start = state;
    }
    ~DamageExecutor() override { delete inner; }

    bool Open(const PlatD3dPresentParameters &parameters) override
    {
        previousValid = false;
        layerKept = false;
        lastStill = 0;
        current.Clear();
        return inner->Open(parameters);
    }
    void SetBackBufferSize(uint32_t width, uint32_t height)
    {
        screenWidth = (int32_t)width;
        screenHeight = (int32_t)height;
    }
    const char *GetRendererText() override { return inner->GetRendererText(); }
    bool KeepsBackBuffer() override { return inner->KeepsBackBuffer(); }

    void BeginScene() override { Add(CMD_BEGIN); }
    void EndScene() override { Add(CMD_END); }
    void SetRenderState(PlatD3dRenderState which, uint32_t value) override
    {
        if (which < PLAT_RS_COUNT)
            Note(&state.renderStates[which], &state.renderSet[which], value);
        if (passThrough)
            return inner->SetRenderState(which, value);
        Add(CMD_RENDER_STATE, which, value);
    }
    void SetTextureStageState(uint32_t stage, PlatD3dStageState type, uint32_t value) override
    {
        if (stage < kStages && type < PLAT_TSS_COUNT)
            Note(&state.stageStates[stage][type], &state.stageSet[stage][type], value);
        if (passThrough)
            return inner->SetTextureStageState(stage, type, value);
        Add(CMD_STAGE_STATE, stage, type, value);
    }
    void SetSamplerState(uint32_t sampler, PlatD3dSamplerState type, uint32_t value) override
    {
        if (sampler < kStages && type < PLAT_SAMP_COUNT)
            Note(&state.samplerStates[sampler][type], &state.samplerSet[sampler][type], value);
        if (passThrough)
            return inner->SetSamplerState(sampler, type, value);
        Add(CMD_SAMPLER_STATE, sampler, type, value);
    }
    void SetTransform(PlatD3dTransform which, const PlatMatrix &matrix) override
    {
        int index = TransformIndex(which);
        if (index >= 0)
        {
            state.transforms[index] = matrix;
            state.transformSet[index] = 1;
        }
        if (passThrough)
            return inner->SetTransform(which, matrix);
        Add(CMD_TRANSFORM, which, 0, 0, &matrix, sizeof(matrix));
    }
    void SetViewport(const PlatD3dViewport &viewport) override
    {
        SetWhole(&state.viewport, &state.viewportSet, viewport, CMD_VIEWPORT, &PlatD3dExecutor::SetViewport);
    }
    void SetScissorRect(const PlatD3dRect &rect) override
    {
        SetWhole(&state.scissor, &state.scissorSet, rect, CMD_SCISSOR, &PlatD3dExecutor::SetScissorRect);
    }
    void SetMaterial(const PlatD3dMaterial &material) override
    {
        SetWhole(&state.material, &state.materialSet, material, CMD_MATERIAL, &PlatD3dExecutor::SetMaterial);
    }
    void SetTexture(uint32_t stage, uint32_t textureId) override
    {
        if (stage < kStages)
            Note(&state.textures[stage], &state.textureSet[stage], textureId);
        if (passThrough)
            return inner->SetTexture(stage, textureId);
        Add(CMD_TEXTURE, stage, textureId);
    }
    void Clear(const PlatD3dRect &rect, uint32_t flags, uint32_t colour, float z) override
    {
        if (passThrough)
            return inner->Clear(rect, flags, colour, z);
        Command &command = Add(CMD_CLEAR, flags, colour, 0, &rect, sizeof(rect));
        command.z = z;
        drawnSinceEnd = true;
    }
    void Draw(PlatD3dPrimitive primitive, uint32_t fvf, uint32_t stride, const void *vertices,
              uint32_t vertexCount) override
    {
        if (passThrough)
            return inner->Draw(primitive, fvf, stride, vertices, vertexCount);
        Command &command = Add(CMD_DRAW, primitive, fvf, stride, vertices, (size_t)stride * vertexCount);
        command.vertexCount = vertexCount;
        command.textures = BoundTextures();
        drawnSinceEnd = true;
    }

    // A texture changed under draws not yet sent would show its new contents in them:
    // those draws go first, and the rest of the frame goes straight through.
    uint32_t CreateTexture(uint32_t width, uint32_t height, PlatD3dFormat format) override
    {
        BeforeTextureChange();
        uint32_t id = inner->CreateTexture(width, height, format);
        versions[id]++;
        if (id)
        {
            Opacity &texels = opacity[id];
            texels = Opacity();
            texels.width = width;
            texels.height = height;
            texels.solid = format == PLAT_FMT_X8R8G8B8;
        }
        return id;
    }
    void UpdateTexture(uint32_t textureId, const void *pixels) override
    {
        BeforeTextureChange();
        inner->UpdateTexture(textureId, pixels);
        versions[textureId]++;
        auto found = opacity.find(textureId);
        if (found != opacity.end())
            found->second.Take((const uint32_t *)pixels);
    }
    void DestroyTexture(uint32_t textureId) override
    {
        BeforeTextureChange();
        inner->DestroyTexture(textureId);
        versions[textureId]++;
        opacity.erase(textureId);
    }

    uint32_t CreateFence() override { return inner->CreateFence(); }
    void IssueFence(uint32_t fenceId) override
    {
        if (passThrough)
            return inner->IssueFence(fenceId);
        Add(CMD_FENCE, fenceId);
        pendingFences.push_back(fenceId);
    }
    // A fence issued in the frame being kept is reached only once the frame is sent.
    bool IsFenceDone(uint32_t fenceId, bool flush) override
    {
        if (std::find(pendingFences.begin(), pendingFences.end(), fenceId) != pendingFences.end())
            ResolveEarly();
        return inner->IsFenceDone(fenceId, flush);
    }
    bool WaitFence(uint32_t fenceId, double seconds) override
    {
        if (std::find(pendingFences.begin(), pendingFences.end(), fenceId) != pendingFences.end())
            ResolveEarly();
        return inner->WaitFence(fenceId, seconds);
    }
    void DestroyFence(uint32_t fenceId) override { inner->DestroyFence(fenceId); }

    bool Present() override
    {
        Resolve();
        if (passThrough || segmented)
        {
            // The frame went out in two parts: the next one is drawn whole.
            passThrough = false;
            segmented = false;
            previousValid = false;
        }
        resolvedEarly = false;
        current.start = state;
        drawnSinceEnd = false;
        return inner->Present();
    }
    bool ReadBackBuffer(uint32_t *pixels, uint32_t width, uint32_t height) override
    {
        if (!current.commands.empty())
            ResolveEarly();
        return inner->ReadBackBuffer(pixels, width, height);
    }

    PlatD3dDamageStats stats = {};

private:
    Command &Add(CommandKind kind, uint32_t a = 0, uint32_t b = 0, uint32_t c = 0, const void *payload = nullptr,
                 size_t size = 0)
    {
        // Calls after the frame was sent before its present: the frame has two parts.
        if (resolvedEarly)
            segmented = true;
        if (current.commands.empty())
            current.start = state;
        current.commands.emplace_back();
        Command &command = current.commands.back();
        memset(&command, 0, sizeof(command));
        command.kind = kind;
        command.a = a;
        command.b = b;
        command.c = c;
        if (payload)
        {
            command.offset = current.Store(payload, size);
            command.size = (uint32_t)size;
        }
        return command;
    }

    // A state set as one record (viewport, scissor, material): noted, then kept with the
    // frame or passed on.
    template <typename T>
    void SetWhole(T *slot, uint8_t *set, const T &value, CommandKind kind, void (PlatD3dExecutor::*forward)(const T &))
    {
        *slot = value;
        *set = 1;
        if (passThrough)
            return (inner->*forward)(value);
        Add(kind, 0, 0, 0, &value, sizeof(value));
    }
    static void Note(uint32_t *slot, uint8_t *set, uint32_t value)
    {
        *slot = value;
        *set = 1;
    }

    uint64_t BoundTextures()
    {
        uint64_t folded = 1469598103934665603ull;
        for (int stage = 0; stage < kStages; stage++)
        {
            uint32_t id = state.textureSet[stage] ? state.textures[stage] : 0;
            uint32_t version = id ? versions[id] : 0;
            folded = (folded ^ id) * 1099511628211ull;
            folded = (folded ^ version) * 1099511628211ull;
        }
        return folded;
    }

    void BeforeTextureChange()
    {
        if (passThrough || !drawnSinceEnd)
            return;
        SendWhole(current);
        current.Clear();
        passThrough = true;
        stats.wholeFrames++;
    }

    // ---- Sending ------------------------------------------------------------------------

    void SendState(const State &s)
    {
        for (uint32_t which = 1; which < PLAT_RS_COUNT; which++)
            if (s.renderSet[which])
                inner->SetRenderState((PlatD3dRenderState)which, s.renderStates[which]);
        for (uint32_t stage = 0; stage < kStages; stage++)
        {
            for (uint32_t type = 0; type < PLAT_TSS_COUNT; type++)
                if (s.stageSet[stage][type])
                    inner->SetTextureStageState(stage, (PlatD3dStageState)type, s.stageStates[stage][type]);
            for (uint32_t type = 0; type < PLAT_SAMP_COUNT; type++)
                if (s.samplerSet[stage][type])
                    inner->SetSamplerState(stage, (PlatD3dSamplerState)type, s.samplerStates[stage][type]);
            if (s.textureSet[stage])
                inner->SetTexture(stage, s.textures[stage]);
        }
        const PlatD3dTransform which[3] = {PLAT_TS_WORLD, PLAT_TS_VIEW, PLAT_TS_PROJECTION};
        for (int i = 0; i < 3; i++)
            if (s.transformSet[i])
                inner->SetTransform(which[i], s.transforms[i]);
        if (s.viewportSet)
            inner->SetViewport(s.viewport);
        if (s.scissorSet)
            inner->SetScissorRect(s.scissor);
        if (s.materialSet)
            inner->SetMaterial(s.material);
    }

    void Send(const Frame &frame, const Command &command)
    {
        const uint8_t *payload = frame.At(command);
        switch (command.kind)
        {
        case CMD_BEGIN:
            inner->BeginScene();
            break;
        case CMD_END:
            inner->EndScene();
            break;
        case CMD_RENDER_STATE:
            inner->SetRenderState((PlatD3dRenderState)command.a, command.b);
            break;
        case CMD_STAGE_STATE:
            inner->SetTextureStageState(command.a, (PlatD3dStageState)command.b, command.c);
            break;
        case CMD_SAMPLER_STATE:
            inner->SetSamplerState(command.a, (PlatD3dSamplerState)command.b, command.c);
            break;
        case CMD_TRANSFORM:
            inner->SetTransform((PlatD3dTransform)command.a, *(const PlatMatrix *)payload);
            break;
        case CMD_VIEWPORT:
            inner->SetViewport(*(const PlatD3dViewport *)payload);
            break;
        case CMD_SCISSOR:
            inner->SetScissorRect(*(const PlatD3dRect *)payload);
            break;
        case CMD_MATERIAL:
            inner->SetMaterial(*(const PlatD3dMaterial *)payload);
            break;
        case CMD_TEXTURE:
            inner->SetTexture(command.a, command.b);
            break;
        case CMD_CLEAR:
            inner->Clear(*(const PlatD3dRect *)payload, command.a, command.b, command.z);
            break;
        case CMD_DRAW:
            inner->Draw((PlatD3dPrimitive)command.a, command.b, command.c, payload, command.vertexCount);
            break;
        case CMD_FENCE:
            inner->IssueFence(command.a);
            break;
        }
    }

    // The whole frame; with `keepAt` a call of it, the layer kept before that call.
    void SendWhole(const Frame &frame, size_t keepAt = SIZE_MAX)
    {
        for (size_t i = 0; i < frame.commands.size(); i++)
        {
            if (i == keepAt)
            {
                layerKept = inner->KeepLayer();
                layerRefused = !layerKept;
                layerCommands = layerKept ? keepAt : 0;
            }
            Send(frame, frame.commands[i]);
        }
    }

    // Whether the first `count` calls of a frame clear or draw.
    static bool DrawsBefore(const Frame &frame, size_t count)
    {
        for (size_t i = 0; i < count && i < frame.commands.size(); i++)
            if (frame.commands[i].kind == CMD_DRAW || frame.commands[i].kind == CMD_CLEAR)
                return true;
        return false;
    }

    // ---- Where triangles land ----------------------------------------------------------

    // Walks a frame's states from its start so that each draw sees the states it is drawn
    // with.
    struct Walker
    {
        State states;
        PlatMatrix combined;
        bool combinedValid = false;

        explicit Walker(const State &start) : states(start) {}
        bool DepthOff() const { return states.renderSet[PLAT_RS_ZENABLE] && states.renderStates[PLAT_RS_ZENABLE] == 0; }
        void Step(const Frame &frame, const Command &command)
        {
            State *s = &states;
            switch (command.kind)
            {
            case CMD_RENDER_STATE:
                if (command.a < PLAT_RS_COUNT)
                    Note(&s->renderStates[command.a], &s->renderSet[command.a], command.b);
                break;
            case CMD_STAGE_STATE:
                if (command.a < kStages && command.b < PLAT_TSS_COUNT)
                    Note(&s->stageStates[command.a][command.b], &s->stageSet[command.a][command.b], command.c);
                break;
            case CMD_SAMPLER_STATE:
                if (command.a < kStages && command.b < PLAT_SAMP_COUNT)
                    Note(&s->samplerStates[command.a][command.b], &s->samplerSet[command.a][command.b], command.c);
                break;
            case CMD_TEXTURE:
                if (command.a < kStages)
                    Note(&s->textures[command.a], &s->textureSet[command.a], command.b);
                break;
            case CMD_TRANSFORM: {
                int index = TransformIndex((PlatD3dTransform)command.a);
                if (index >= 0)
                {
                    memcpy(&s->transforms[index], frame.At(command), sizeof(PlatMatrix));
                    s->transformSet[index] = 1;
                    combinedValid = false;
                }
                break;
            }
            case CMD_VIEWPORT:
                memcpy(&s->viewport, frame.At(command), sizeof(s->viewport));
                s->viewportSet = 1;
                break;
            case CMD_SCISSOR:
                memcpy(&s->scissor, frame.At(command), sizeof(s->scissor));
                s->scissorSet = 1;
                break;
            case CMD_MATERIAL:
                memcpy(&s->material, frame.At(command), sizeof(s->material));
                s->materialSet = 1;
                break;
            default:
                break;
            }
        }
        const PlatMatrix &Combined()
        {
            if (!combinedValid)
            {
                PlatD3dxMatrixMultiply(&combined, &states.transforms[0], &states.transforms[1]);
                PlatD3dxMatrixMultiply(&combined, &combined, &states.transforms[2]);
                combinedValid = true;
            }
            return combined;
        }
    };

    Rect ViewportRect(const PlatD3dViewport &viewport) const
    {
        Rect area = {(int32_t)viewport.x, (int32_t)viewport.y, (int32_t)(viewport.x + viewport.width),
                     (int32_t)(viewport.y + viewport.height)};
        return Intersect(area, {0, 0, screenWidth, screenHeight});
    }

    // Where a vertex lands on the screen, and the w it is divided by there (its rhw when it
    // comes pre-transformed, with no matrix): false behind the eye.
    static bool ScreenPoint(const uint8_t *vertex, const PlatMatrix *m, const PlatD3dViewport &vp, float *x, float *y,
                            float *w, float *z = nullptr)
    {
        float p[4];
        if (!m)
        {
            memcpy(p, vertex, sizeof(p));
            *x = p[0];
            *y = p[1];
            *w = p[3];
            if (z)
                *z = p[2];
            return true;
        }
        memcpy(p, vertex, 3 * sizeof(float));
        const float *e = m->m;
        float cx = p[0] * e[0] + p[1] * e[4] + p[2] * e[8] + e[12];
        float cy = p[0] * e[1] + p[1] * e[5] + p[2] * e[9] + e[13];
        float cw = p[0] * e[3] + p[1] * e[7] + p[2] * e[11] + e[15];
        if (!(cw > 1e-6f))
            return false;
        *x = (float)vp.x + (cx / cw + 1.0f) * 0.5f * (float)vp.width;
        *y = (float)vp.y + (1.0f - cy / cw) * 0.5f * (float)vp.height;
        *w = cw;
        if (z)
            *z = (p[0] * e[2] + p[1] * e[6] + p[2] * e[10] + e[14]) / cw;
        return true;
    }

    // Calls `each(i0, i1, i2, shared)` with the corners of every triangle of a list, strip
    // or fan of `count` vertices, each turning the way the primitive draws it (every other
    // triangle of a strip turns the other way round its first edge), and with `shared`
    // marking the edges (corners 0-1, 1-2, 2-0) the strip or fan shares with another of
    // its triangles; lists mark none. Stops at the first false `each`; false then, or for
    // another primitive.
    template <typename Each> static bool EachTriangle(uint32_t primitive, uint32_t count, Each each)
    {
        switch (primitive)
        {
        case PLAT_PT_TRIANGLELIST:
            for (uint32_t i = 0; i + 2 < count; i += 3)
                if (!each(i, i + 1, i + 2, 0u))
                    return false;
            return true;
        case PLAT_PT_TRIANGLESTRIP:
            // A triangle of a strip shares its first edge with the one before and its
            // last with the one after; the edge joining its first and third corners is
            // outer.
            for (uint32_t i = 0; i + 2 < count; i++)
            {
                const uint32_t before = i > 0 ? 1u : 0u, after = i + 3 < count ? 1u : 0u;
                if (!(i % 2 == 0 ? each(i, i + 1, i + 2, before | after << 1)
                                 : each(i + 1, i, i + 2, before | after << 2)))
                    return false;
            }
            return true;
        case PLAT_PT_TRIANGLEFAN:
            // Each triangle of a fan shares its edges from the centre with its neighbours.
            for (uint32_t i = 1; i + 1 < count; i++)
                if (!each(0, i, i + 1, (i > 1 ? 1u : 0u) | (i + 2 < count ? 4u : 0u)))
                    return false;
            return true;
        default:
            return false;
        }
    }

    // Calls `each` with the screen rectangle of every triangle of a draw.
    template <typename Each> void Triangles(const Frame &frame, const Command &draw, Walker &walker, Each each)
    {
        const uint8_t *vertices = frame.At(draw);
        const uint32_t count = draw.vertexCount, stride = draw.c;
        const Rect clip = ViewportRect(walker.states.viewport);
        const bool pretransformed = (draw.b & PLAT_FVF_XYZRHW) != 0;
        const PlatD3dViewport &vp = walker.states.viewport;
        const PlatMatrix *m = pretransformed ? nullptr : &walker.Combined();
        auto corner = [&](uint32_t index, float *x, float *y) {
            float w;
            return ScreenPoint(vertices + (size_t)index * stride, m, vp, x, y, &w);
        };
        auto triangle = [&](uint32_t i0, uint32_t i1, uint32_t i2) {
            float xs[3], ys[3];
            bool ok = corner(i0, &xs[0], &ys[0]) && corner(i1, &xs[1], &ys[1]) && corner(i2, &xs[2], &ys[2]);
            Rect area = clip;
            if (ok)
            {
                float x0 = std::min({xs[0], xs[1], xs[2]}) - kMargin, x1 = std::max({xs[0], xs[1], xs[2]}) + kMargin;
                float y0 = std::min({ys[0], ys[1], ys[2]}) - kMargin, y1 = std::max({ys[0], ys[1], ys[2]}) + kMargin;
                // Not a number or far away: the whole viewport.
                if (x0 > -1e6f && x1 < 1e6f && y0 > -1e6f && y1 < 1e6f)
                    area = Intersect({(int32_t)x0, (int32_t)y0, (int32_t)x1 + 1, (int32_t)y1 + 1}, clip);
            }
            each(area);
        };
        const bool known = EachTriangle(draw.a, count, [&](uint32_t i0, uint32_t i1, uint32_t i2, uint32_t) {
            triangle(i0, i1, i2);
            return true;
        });
        if (!known)
            each(clip);
    }

    // A list of triangles sent to one area: only those that reach it, in their order.
    void SendListIn(const Command &draw, size_t first, const Rect &area)
    {
        const uint32_t stride = draw.c;
        const uint8_t *vertices = current.At(draw);
        picked.clear();
        const uint32_t triangles = draw.vertexCount / 3;
        for (uint32_t t = 0; t < triangles; t++)
            if (Overlap(triangleAreas[first + t], area))
                picked.insert(picked.end(), vertices + (size_t)t * 3 * stride, vertices + (size_t)(t + 1) * 3 * stride);
        if (!picked.empty())
            inner->Draw((PlatD3dPrimitive)draw.a, draw.b, stride, picked.data(), (uint32_t)(picked.size() / stride));
    }

    // ---- Draws cut to the areas ----------------------------------------------------------

    // A corner on its way through the cut: where it lands on the screen, and its fields.
    struct Corner
    {
        float x, y;
        uint32_t fields[kMaxFields];
    };

    // The 4-byte fields of a vertex format a cut can make new corners of, and which of
    // them are colours: every other field is a float that varies evenly along an edge.
    static bool CutLayout(uint32_t fvf, uint32_t stride, uint32_t *fields, uint32_t *colours)
    {
        const uint32_t known =
            PLAT_FVF_XYZ | PLAT_FVF_XYZRHW | PLAT_FVF_NORMAL | PLAT_FVF_DIFFUSE | PLAT_FVF_SPECULAR | PLAT_FVF_TEX1;
        if ((fvf & ~known) != 0 || ((fvf & PLAT_FVF_XYZ) != 0) == ((fvf & PLAT_FVF_XYZRHW) != 0))
            return false;
        uint32_t count = (fvf & PLAT_FVF_XYZRHW) ? 4 : 3;
        if (fvf & PLAT_FVF_NORMAL)
            count += 3;
        *colours = 0;
        if (fvf & PLAT_FVF_DIFFUSE)
            *colours |= 1u << count++;
        if (fvf & PLAT_FVF_SPECULAR)
            *colours |= 1u << count++;
        if (fvf & PLAT_FVF_TEX1)
            count += 2;
        *fields = count;
        return stride == count * 4;
    }

    // Where the edge between two corners crosses a line (axis 0: x = at, 1: y = at). The
    // edge is walked from the same end whichever triangle it belongs to, so that two
    // triangles sharing it get the very same new corner and meet without gap or overlap.
    static Corner Crossing(const Corner &p, const Corner &q, int axis, float at, uint32_t fields, uint32_t colours)
    {
        const bool pFirst = p.x < q.x || (p.x == q.x && p.y < q.y);
        const Corner &a = pFirst ? p : q, &b = pFirst ? q : p;
        const float t = axis == 0 ? (at - a.x) / (b.x - a.x) : (at - a.y) / (b.y - a.y);
        Corner c;
        c.x = axis == 0 ? at : a.x + t * (b.x - a.x);
        c.y = axis == 1 ? at : a.y + t * (b.y - a.y);
        for (uint32_t f = 0; f < fields; f++)
        {
            if (colours >> f & 1)
            {
                c.fields[f] = a.fields[f];
                continue;
            }
            float fa, fb;
            memcpy(&fa, &a.fields[f], sizeof(fa));
            memcpy(&fb, &b.fields[f], sizeof(fb));
            float value = fa + t * (fb - fa);
            memcpy(&c.fields[f], &value, sizeof(value));
        }
        return c;
    }

    // The part of a polygon on one side of a line: at or above `at` when `keepAbove`.
    static void KeepSide(const std::vector<Corner> &in, std::vector<Corner> *out, int axis, float at, bool keepAbove,
                         uint32_t fields, uint32_t colours)
    {
        out->clear();
        auto inside = [&](const Corner &c) {
            float value = axis == 0 ? c.x : c.y;
            return keepAbove ? value >= at : value <= at;
        };
        for (size_t i = 0; i < in.size(); i++)
        {
            const Corner &a = in[i], &b = in[(i + 1) % in.size()];
            const bool aIn = inside(a), bIn = inside(b);
            if (aIn)
                out->push_back(a);
            if (aIn != bIn)
                out->push_back(Crossing(a, b, axis, at, fields, colours));
        }
    }

    // A draw's triangles cut to the areas they reach, added to `batch` as a list: each
    // triangle's pieces in the draw's order, each turning the way the triangle did. The
    // areas do not overlap, so every pixel sees the pieces it is covered by in the draw's
    // order, and the draw goes out once however many areas it reaches, where a scissor
    // per area would cost the software renderer a change of state each. The cuts run
    // halfway between pixel centres, so a piece covers exactly the pixels of its area
    // the triangle covers. False where a cut could change a pixel: a depth test (a new
    // corner's depth is rounded), a corner behind the eye or the corners divided by
    // different w (attributes then vary unevenly on the screen), or colours that differ
    // between the corners (a new corner's colour would be rounded to whole steps).
    bool Cut(const Command &draw, size_t index, Walker &walker, const std::vector<Rect> &areas)
    {
        uint32_t fields = 0, colours = 0;
        if (!walker.DepthOff() || !CutLayout(draw.b, draw.c, &fields, &colours))
            return false;
        const uint8_t *vertices = current.At(draw);
        const uint32_t count = draw.vertexCount, stride = draw.c;
        const PlatMatrix *m = (draw.b & PLAT_FVF_XYZRHW) ? nullptr : &walker.Combined();
        const size_t start = batch.size();
        reached.clear();
        for (const Rect &area : areas)
            if (Overlap(area, drawAreas[index]))
                reached.push_back(area);
        auto emit = [&](const Corner &c) {
            const uint8_t *bytes = (const uint8_t *)c.fields;
            batch.insert(batch.end(), bytes, bytes + stride);
        };
        // `shared` marks the edges (corner 0-1, 1-2, 2-0) another triangle of the draw
        // shares.
        auto triangle = [&](uint32_t i0, uint32_t i1, uint32_t i2, uint32_t shared) {
            const uint32_t at[3] = {i0, i1, i2};
            Corner corners[3];
            float w[3];
            for (int k = 0; k < 3; k++)
            {
                const uint8_t *vertex = vertices + (size_t)at[k] * stride;
                if (!ScreenPoint(vertex, m, walker.states.viewport, &corners[k].x, &corners[k].y, &w[k]))
                    return false;
                memcpy(corners[k].fields, vertex, stride);
            }
            if (w[0] != w[1] || w[0] != w[2])
                return false;
            for (uint32_t f = 0; f < fields; f++)
                if ((colours >> f & 1) &&
                    (corners[0].fields[f] != corners[1].fields[f] || corners[0].fields[f] != corners[2].fields[f]))
                    return false;
            const float x0 = std::min({corners[0].x, corners[1].x, corners[2].x});
            const float x1 = std::max({corners[0].x, corners[1].x, corners[2].x});
            const float y0 = std::min({corners[0].y, corners[1].y, corners[2].y});
            const float y1 = std::max({corners[0].y, corners[1].y, corners[2].y});
            if (!(x0 > -1e6f && x1 < 1e6f && y0 > -1e6f && y1 < 1e6f))
                return false;
            // A slanted outer edge cut short ends at a new corner a little off the edge
            // (the rasteriser rounds corners to its grid): a pixel its centre almost
            // touches could change sides. Inner edges are cut the same way for both of
            // their triangles, and edges along an axis stay where they were.
            bool slanted = false;
            for (int e = 0; e < 3; e++)
            {
                const Corner &p = corners[e], &q = corners[(e + 1) % 3];
                if (!(shared >> e & 1) && p.x != q.x && p.y != q.y)
                    slanted = true;
            }
            for (const Rect &area : reached)
            {
                const float left = (float)area.left - 0.5f, right = (float)area.right - 0.5f;
                const float top = (float)area.top - 0.5f, bottom = (float)area.bottom - 0.5f;
                if (x1 <= left || x0 >= right || y1 <= top || y0 >= bottom)
                    continue;
                if (x0 >= left && x1 <= right && y0 >= top && y1 <= bottom)
                {
                    for (const Corner &c : corners)
                        emit(c);
                    continue;
                }
                if (slanted)
                    return false;
                polygon.assign(corners, corners + 3);
                KeepSide(polygon, &scratch, 0, left, true, fields, colours);
                KeepSide(scratch, &polygon, 0, right, false, fields, colours);
                KeepSide(polygon, &scratch, 1, top, true, fields, colours);
                KeepSide(scratch, &polygon, 1, bottom, false, fields, colours);
                for (size_t k = 1; k + 1 < polygon.size(); k++)
                {
                    emit(polygon[0]);
                    emit(polygon[k]);
                    emit(polygon[k + 1]);
                }
            }
            return true;
        };
        // Whether a triangle of a list has both corners of an edge in the one before or after.
        auto sharedInList = [&](uint32_t first, uint32_t a, uint32_t b) {
            for (int64_t other : {(int64_t)first - 3, (int64_t)first + 3})
            {
                if (other < 0 || other + 2 >= (int64_t)count)
                    continue;
                int found = 0;
                for (uint32_t end : {a, b})
                    for (uint32_t k = 0; k < 3; k++)
                        if (memcmp(vertices + (size_t)end * stride, vertices + (size_t)(other + k) * stride, stride) ==
                            0)
                        {
                            found++;
                            break;
                        }
                if (found == 2)
                    return true;
            }
            return false;
        };
        const bool list = draw.a == PLAT_PT_TRIANGLELIST;
        const bool ok = EachTriangle(draw.a, count, [&](uint32_t i0, uint32_t i1, uint32_t i2, uint32_t shared) {
            if (list)
                shared = (sharedInList(i0, i0, i1) ? 1u : 0u) | (sharedInList(i0, i1, i2) ? 2u : 0u) |
                         (sharedInList(i0, i2, i0) ? 4u : 0u);
            return triangle(i0, i1, i2, shared);
        });
        if (!ok)
            batch.resize(start);
        return ok;
    }

    // A draw that lies in the areas whole, added to `batch` as a list: its triangles as
    // they are, each turning the way the draw turns it. False for another primitive.
    bool Whole(const Command &draw)
    {
        const uint8_t *vertices = current.At(draw);
        const uint32_t stride = draw.c;
        const size_t start = batch.size();
        const bool ok = EachTriangle(draw.a, draw.vertexCount, [&](uint32_t i0, uint32_t i1, uint32_t i2, uint32_t) {
            for (uint32_t at : {i0, i1, i2})
                batch.insert(batch.end(), vertices + (size_t)at * stride, vertices + (size_t)(at + 1) * stride);
            return true;
        });
        if (!ok)
            batch.resize(start);
        return ok;
    }

    // ---- The end of a frame ------------------------------------------------------------

    static bool SameCall(const Frame &a, const Command &x, const Frame &b, const Command &y)
    {
        return x.kind == y.kind && x.a == y.a && x.b == y.b && x.c == y.c && x.z == y.z && x.size == y.size &&
               x.vertexCount == y.vertexCount && x.textures == y.textures &&
               memcmp(a.At(x), b.At(y), x.size) == 0;
    }

    // Damage at call `at`; the triangles of a quad mostly share one rectangle, which is
    // kept once.
    void AddDamage(const Rect &area, size_t at, bool own)
    {
        if (!damage.empty())
        {
            const Damage &last = damage.back();
            if (last.at == at && last.own == own && memcmp(&last.area, &area, sizeof(area)) == 0)
                return;
        }
        damage.push_back({area, at, own});
    }

    // The damaged tiles, less those a later unchanged draw hides.
    void MarkDamage()
    {
        bool hiding = false;
        for (size_t index = 0; index < hidesNow.size(); index++)
        {
            if (!hidesNow[index].any)
                continue;
            if (!hiding)
                hiddenBy.assign(tiles.size(), 0);
            hiding = true;
            const Rect &hidden = hidesNow[index].tiles;
            for (int32_t ty = hidden.top; ty < hidden.bottom; ty++)
                std::fill_n(hiddenBy.begin() + (size_t)ty * tilesX + hidden.left, hidden.right - hidden.left,
                            (uint32_t)index + 1);
        }
        for (const Damage &hurt : damage)
        {
            const Rect &area = hurt.area;
            for (int32_t ty = area.top / kTile; ty <= (area.bottom - 1) / kTile && ty < tilesY; ty++)
                for (int32_t tx = area.left / kTile; tx <= (area.right - 1) / kTile && tx < tilesX; tx++)
                {
                    const size_t tile = (size_t)ty * tilesX + tx;
                    if (!hiding || hiddenBy[tile] <= hurt.at + 1)
                        tiles[tile] = 1;
                    else
                    {
                        stats.hiddenTiles++;
                        if (hurt.own)
                            inAreas[hurt.at] = 0;
                    }
                }
        }
    }

    // ---- What a draw hides -------------------------------------------------------------

    // The tiles wholly within a rectangle of pixels, in tiles.
    static Rect TilesWithin(const Rect &pixels)
    {
        return {(pixels.left + kTile - 1) / kTile, (pixels.top + kTile - 1) / kTile, pixels.right / kTile,
                pixels.bottom / kTile};
    }

    // The tiles whose every pixel a draw of this frame replaces whatever was there (in
    // tiles, right and bottom excluded): a rectangle along the screen's axes in two
    // triangles, drawn without the depth test, whose pixels all come out opaque: blending
    // off, or over-blending of an alpha of one throughout (the texels it samples opaque,
    // the diffuse alpha one). False for any other draw, or when no whole tile is inside.
    bool HiddenTiles(const Command &draw, Walker &walker, Rect *hidden)
    {
        const State &s = walker.states;
        for (PlatD3dRenderState which : {PLAT_RS_ALPHABLENDENABLE, PLAT_RS_SRCBLEND,
                                         PLAT_RS_DESTBLEND, PLAT_RS_CULLMODE, PLAT_RS_LIGHTING,
                                         PLAT_RS_SCISSORTESTENABLE, PLAT_RS_DIFFUSEMATERIALSOURCE})
            if (!s.renderSet[which])
                return false;
        for (PlatD3dStageState which : {PLAT_TSS_COLOROP, PLAT_TSS_ALPHAOP, PLAT_TSS_ALPHAARG1, PLAT_TSS_ALPHAARG2})
            if (!s.stageSet[0][which])
                return false;
        if (!s.samplerSet[0][PLAT_SAMP_ADDRESSU] || !s.samplerSet[0][PLAT_SAMP_ADDRESSV] || !s.textureSet[0] ||
            !s.materialSet || !s.scissorSet || !walker.DepthOff())
            return false;
        const uint32_t *rs = s.renderStates;
        bool blend = rs[PLAT_RS_ALPHABLENDENABLE] != 0;
        if (blend && rs[PLAT_RS_SRCBLEND] == PLAT_BLEND_ONE && rs[PLAT_RS_DESTBLEND] == PLAT_BLEND_ZERO)
            blend = false;
        if (blend && (rs[PLAT_RS_SRCBLEND] != PLAT_BLEND_SRCALPHA || rs[PLAT_RS_DESTBLEND] != PLAT_BLEND_INVSRCALPHA))
            return false;

        // The corners: at most six, each on a corner of the rectangle, one w throughout.
        uint32_t fields = 0, colours = 0;
        const uint32_t fvf = draw.b, stride = draw.c, count = draw.vertexCount;
        if (count < 4 || count > 6 || !CutLayout(fvf, stride, &fields, &colours))
            return false;
        const bool pretransformed = (fvf & PLAT_FVF_XYZRHW) != 0;
        // The fields as the layout counts them: the diffuse colour before the specular,
        // the texture coordinates last.
        const uint32_t diffuseAt = (fvf & PLAT_FVF_DIFFUSE) ? (uint32_t)std::countr_zero(colours) : UINT32_MAX;
        const uint32_t specularAt = (fvf & PLAT_FVF_SPECULAR) ? (uint32_t)std::bit_width(colours) - 1 : UINT32_MAX;
        const uint32_t texAt = (fvf & PLAT_FVF_TEX1) ? fields - 2 : UINT32_MAX;
        const uint8_t *vertices = current.At(draw);
        const PlatMatrix *m = pretransformed ? nullptr : &walker.Combined();
        float xs[6] = {}, ys[6] = {}, w0 = 0.0f;
        for (uint32_t v = 0; v < count; v++)
        {
            float z, w;
            if (!ScreenPoint(vertices + (size_t)v * stride, m, s.viewport, &xs[v], &ys[v], &w, &z) ||
                !(xs[v] > -1e6f && xs[v] < 1e6f && ys[v] > -1e6f && ys[v] < 1e6f) || !(z >= 0.0f && z <= 1.0f) ||
                !(w >= 0.0f) || (v > 0 && w != w0))
                return false;
            w0 = w;
        }
        const float x0 = *std::min_element(xs, xs + count), x1 = *std::max_element(xs, xs + count);
        const float y0 = *std::min_element(ys, ys + count), y1 = *std::max_element(ys, ys + count);
        if (!(x0 < x1 && y0 < y1))
            return false;
        uint32_t corner[6];
        for (uint32_t v = 0; v < count; v++)
        {
            if ((xs[v] != x0 && xs[v] != x1) || (ys[v] != y0 && ys[v] != y1))
                return false;
            corner[v] = (xs[v] == x1 ? 1u : 0u) | (ys[v] == y1 ? 2u : 0u);
        }
        // Two triangles, each on three corners, the one each leaves out opposite the
        // other's, each facing the way the cull mode keeps.
        const uint32_t cull = rs[PLAT_RS_CULLMODE];
        uint32_t missing[2], triangles = 0;
        const bool shaped = EachTriangle(draw.a, count, [&](uint32_t i0, uint32_t i1, uint32_t i2, uint32_t) {
            if (triangles == 2 || corner[i0] == corner[i1] || corner[i1] == corner[i2] || corner[i0] == corner[i2])
                return false;
            const float turn = (xs[i1] - xs[i0]) * (ys[i2] - ys[i0]) - (ys[i1] - ys[i0]) * (xs[i2] - xs[i0]);
            if ((cull == PLAT_CULL_CCW && !(turn > 0.0f)) || (cull == PLAT_CULL_CW && !(turn < 0.0f)))
                return false;
            missing[triangles++] = 6 - corner[i0] - corner[i1] - corner[i2];
            return true;
        });
        if (!shaped || triangles != 2 || (missing[0] ^ missing[1]) != 3)
            return false;

        // The pixels whose centres lie inside by a margin, within the viewport and the
        // scissor; right and bottom excluded.
        Rect inside = {(int32_t)std::ceil(x0 + 0.25f), (int32_t)std::ceil(y0 + 0.25f),
                       (int32_t)std::floor(x1 - 0.25f) + 1, (int32_t)std::floor(y1 - 0.25f) + 1};
        inside = Intersect(inside, ViewportRect(s.viewport));
        if (rs[PLAT_RS_SCISSORTESTENABLE])
            inside = Intersect(inside, {s.scissor.left, s.scissor.top, s.scissor.right, s.scissor.bottom});
        *hidden = TilesWithin(inside);
        if (inside.Empty() || hidden->Empty())
            return false;
        if (!blend)
            return true;

        // Where the alpha is one throughout: the diffuse colour's, the texture's, or what
        // the stage makes of them.
        auto alphaOf = [&](uint32_t at) {
            bool one = true;
            for (uint32_t v = 0; v < count; v++)
            {
                uint32_t colour;
                memcpy(&colour, vertices + (size_t)v * stride + at * 4, sizeof(colour));
                one = one && colour >> 24 == 0xFF;
            }
            return one;
        };
        auto diffuse = [&]() -> Rect {
            bool one;
            if (rs[PLAT_RS_LIGHTING] && !pretransformed)
            {
                const uint32_t source = rs[PLAT_RS_DIFFUSEMATERIALSOURCE];
                if (source == PLAT_MCS_COLOR1 && diffuseAt != UINT32_MAX)
                    one = alphaOf(diffuseAt);
                else if (source == PLAT_MCS_COLOR2 && specularAt != UINT32_MAX)
                    one = alphaOf(specularAt);
                else
                    one = s.material.diffuse.a >= 1.0f;
            }
            else
                one = diffuseAt == UINT32_MAX || alphaOf(diffuseAt);
            return one ? inside : Rect{0, 0, 0, 0};
        };
        auto texture = [&]() -> Rect {
            const uint32_t id = s.textures[0];
            if (id == 0)
                return inside;
            auto found = opacity.find(id);
            if (found == opacity.end() || texAt == UINT32_MAX)
                return {0, 0, 0, 0};
            Opacity &texels = found->second;
            if (texels.solid)
                return inside;
            return OpaqueTexels(texels, vertices, stride, texAt, count, corner, x0, y0, x1, y1, inside, s);
        };
        const uint32_t *stage = s.stageStates[0];
        auto arg = [&](uint32_t which) { return which == PLAT_TA_TEXTURE ? texture() : diffuse(); };
        const uint32_t arg1 = stage[PLAT_TSS_ALPHAARG1], arg2 = stage[PLAT_TSS_ALPHAARG2];
        Rect opaque;
        if (stage[PLAT_TSS_COLOROP] == PLAT_TOP_DISABLE || stage[PLAT_TSS_ALPHAOP] == PLAT_TOP_DISABLE)
            opaque = diffuse();
        else
            switch (stage[PLAT_TSS_ALPHAOP])
            {
            case PLAT_TOP_SELECTARG2:
                opaque = arg(arg2);
                break;
            case PLAT_TOP_MODULATE:
            case PLAT_TOP_MODULATE2X:
                opaque = Intersect(arg(arg1), arg(arg2));
                break;
            case PLAT_TOP_ADD:
                // Either alpha of one makes one: the first is enough.
                opaque = arg(arg1);
                break;
            case PLAT_TOP_BLENDTEXTUREALPHA:
                opaque = {0, 0, 0, 0};
                break;
            default:
                // The first argument, as any operation the stage does not know.
                opaque = arg(arg1);
                break;
            }
        if (opaque.Empty())
            return false;
        *hidden = TilesWithin(opaque);
        return !hidden->Empty();
    }

    // The texels a filter may read for the pixels `from` to `to` (whole numbers, `to`
    // excluded) along one axis of a rectangle from `at0` to `at1` whose texture
    // coordinate goes from `c0` to `c1`: from half a pixel before the first centre to
    // half a pixel after the last, and the next texel. False when the address mode would
    // wrap them round, unless `clamped` asks for the part within the texture.
    static bool TexelRange(float at0, float at1, float c0, float c1, int32_t from, int32_t to, uint32_t size,
                           uint32_t address, uint32_t *first, uint32_t *last, bool clamped = false)
    {
        const float a = (c0 + ((float)from - 0.5f - at0) / (at1 - at0) * (c1 - c0)) * (float)size - 0.5f;
        const float b = (c0 + ((float)to - 0.5f - at0) / (at1 - at0) * (c1 - c0)) * (float)size - 0.5f;
        if (!(a > -1e6f && a < 1e6f && b > -1e6f && b < 1e6f) || from >= to)
            return false;
        int64_t low = (int64_t)std::floor(std::min(a, b)), high = (int64_t)std::floor(std::max(a, b)) + 1;
        if (address == PLAT_TADDRESS_CLAMP || clamped)
        {
            low = std::clamp<int64_t>(low, 0, (int64_t)size - 1);
            high = std::clamp<int64_t>(high, 0, (int64_t)size - 1);
        }
        if (low < 0 || high >= (int64_t)size)
            return false;
        *first = (uint32_t)low;
        *last = (uint32_t)high;
        return true;
    }

    // The pixels, whole numbers from `*from` to `*to` (excluded), whose texels lie from
    // `first` to `last` along one axis (the inverse of `TexelRange`, a little inside).
    static void PixelRange(float at0, float at1, float c0, float c1, uint32_t first, uint32_t last, uint32_t size,
                           int32_t *from, int32_t *to)
    {
        if (c0 == c1)
            return;
        // Texel position s = (c * size - 0.5) along the axis, linear in the screen position.
        auto screenAt = [&](float texel) { return at0 + ((texel + 0.5f) / (float)size - c0) / (c1 - c0) * (at1 - at0); };
        float a = screenAt((float)first + 0.01f), b = screenAt((float)last - 0.01f);
        if (a > b)
            std::swap(a, b);
        if (!(a > -1e6f && b < 1e6f))
            return;
        *from = std::max(*from, (int32_t)std::ceil(a + 0.51f));
        *to = std::min(*to, (int32_t)std::floor(b - 0.51f) + 1);
    }

    // The pixels of `inside` whose texels are all opaque: the opaque core of the texels
    // the rectangle reads, mapped back to the screen and checked again. Texture
    // coordinates must vary along each axis alone.
    Rect OpaqueTexels(Opacity &texels, const uint8_t *vertices, uint32_t stride, uint32_t texAt, uint32_t count,
                      const uint32_t *corner, float x0, float y0, float x1, float y1, const Rect &inside,
                      const State &s)
    {
        const Rect none = {0, 0, 0, 0};
        float u[2] = {0, 0}, v[2] = {0, 0};
        bool uSet[2] = {false, false}, vSet[2] = {false, false};
        for (uint32_t k = 0; k < count; k++)
        {
            float uv[2];
            memcpy(uv, vertices + (size_t)k * stride + texAt * 4, sizeof(uv));
            const uint32_t side = corner[k] & 1, row = corner[k] >> 1;
            if ((uSet[side] && u[side] != uv[0]) || (vSet[row] && v[row] != uv[1]))
                return none;
            u[side] = uv[0];
            v[row] = uv[1];
            uSet[side] = vSet[row] = true;
        }
        const uint32_t addressU = s.samplerStates[0][PLAT_SAMP_ADDRESSU], addressV = s.samplerStates[0][PLAT_SAMP_ADDRESSV];
        uint32_t range[4], core[4];
        if (!TexelRange(x0, x1, u[0], u[1], inside.left, inside.right, texels.width, addressU, &range[0], &range[2],
                        true) ||
            !TexelRange(y0, y1, v[0], v[1], inside.top, inside.bottom, texels.height, addressV, &range[1], &range[3],
                        true) ||
            !texels.Core(range[0], range[1], range[2], range[3], core))
            return none;
        Rect opaque = inside;
        PixelRange(x0, x1, u[0], u[1], core[0], core[2], texels.width, &opaque.left, &opaque.right);
        PixelRange(y0, y1, v[0], v[1], core[1], core[3], texels.height, &opaque.top, &opaque.bottom);
        uint32_t check[4];
        if (opaque.Empty() ||
            !TexelRange(x0, x1, u[0], u[1], opaque.left, opaque.right, texels.width, addressU, &check[0], &check[2]) ||
            !TexelRange(y0, y1, v[0], v[1], opaque.top, opaque.bottom, texels.height, addressV, &check[1], &check[3]) ||
            !texels.Opaque(check[0], check[1], check[2], check[3]))
            return none;
        return opaque;
    }

    // The damaged tiles as rectangles: runs along each row of tiles, joined with the run
    // just above when they span the same columns. False when there are too many.
    bool TileAreas(std::vector<Rect> *areas, uint64_t *pixels)
    {
        areas->clear();
        *pixels = 0;
        std::vector<size_t> open, next; // indexes into areas of the row above's runs
        for (int32_t ty = 0; ty < tilesY; ty++)
        {
            next.clear();
            const uint8_t *row = tiles.data() + (size_t)ty * tilesX;
            for (int32_t tx = 0; tx < tilesX;)
            {
                // Undamaged tiles eight at a time.
                if (tx + 8 <= tilesX)
                {
                    uint64_t eight;
                    memcpy(&eight, row + tx, sizeof(eight));
                    if (eight == 0)
                    {
                        tx += 8;
                        continue;
                    }
                }
                if (!row[tx])
                {
                    tx++;
                    continue;
                }
                int32_t start = tx;
                while (tx < tilesX && row[tx])
                    tx++;
                Rect run = {start * kTile, ty * kTile, std::min(tx * kTile, screenWidth),
                            std::min((ty + 1) * kTile, screenHeight)};
                *pixels += (uint64_t)(run.right - run.left) * (uint64_t)(run.bottom - run.top);
                bool joined = false;
                for (size_t index : open)
                {
                    Rect &above = (*areas)[index];
                    if (above.left == run.left && above.right == run.right && above.bottom == run.top)
                    {
                        above.bottom = run.bottom;
                        next.push_back(index);
                        joined = true;
                        break;
                    }
                }
                if (!joined)
                {
                    areas->push_back(run);
                    next.push_back(areas->size() - 1);
                }
                if (areas->size() > kMaxAreas)
                    return false;
            }
            open.swap(next);
        }
        return true;
    }

    void ResolveEarly()
    {
        Resolve();
        resolvedEarly = true;
    }

    // Decides how much of the frame to draw, and draws it.
    void Resolve()
    {
        pendingFences.clear();
        if (passThrough)
            return;
        if (current.commands.empty())
            return;
        bool whole = segmented || !previousValid || screenWidth <= 0 || screenHeight <= 0 ||
                     memcmp(&current.start, &previous.start, sizeof(State)) != 0;
        tilesX = (screenWidth + kTile - 1) / kTile;
        tilesY = (screenHeight + kTile - 1) / kTile;
        drawAreas.assign(current.commands.size(), Rect{0, 0, 0, 0});
        inAreas.assign(current.commands.size(), 0);
        firstTriangle.assign(current.commands.size(), SIZE_MAX);
        triangleAreas.clear();
        bool damaged = false;
        // The calls at the start of the frame that are those of the frame before, when
        // the two were compared.
        const bool compared = !whole;
        size_t still = SIZE_MAX;
        if (!whole)
        {
            tiles.assign((size_t)tilesX * tilesY, 0);
            damage.clear();
            hidesNow.assign(current.commands.size(), Hides());
            Walker now(current.start), before(previous.start);
            // This frame's draw `i`: where its triangles land, and with `changed` its
            // damage.
            auto place = [&](size_t i, bool changed) {
                const Command &x = current.commands[i];
                Rect &bounds = drawAreas[i];
                bounds = {screenWidth, screenHeight, 0, 0};
                const bool list = x.a == PLAT_PT_TRIANGLELIST && x.vertexCount > 3;
                if (list)
                    firstTriangle[i] = triangleAreas.size();
                inAreas[i] = changed;
                Triangles(current, x, now, [&](const Rect &area) {
                    if (list)
                        triangleAreas.push_back(area);
                    if (area.Empty())
                        return;
                    bounds = {std::min(bounds.left, area.left), std::min(bounds.top, area.top),
                              std::max(bounds.right, area.right), std::max(bounds.bottom, area.bottom)};
                    if (changed)
                        AddDamage(area, i, true);
                });
                damaged = damaged || changed;
            };
            // The frame before's draw `j`, gone or changed, in place of this frame's call
            // `i`: its damage.
            auto left = [&](size_t j, size_t i) {
                Triangles(previous, previous.commands[j], before, [&](const Rect &area) {
                    if (!area.Empty())
                        AddDamage(area, i, false);
                });
                damaged = true;
            };
            // The calls other than draws must match one for one, so that draws between the
            // same two of them see the same states. Such a run of draws compares draw by
            // draw when both frames have as many; otherwise (a sparkle born or gone) all of
            // its draws, in both frames, are damage.
            size_t i = 0, j = 0;
            const size_t count = current.commands.size(), countBefore = previous.commands.size();
            while (!whole)
            {
                size_t endNow = i, endBefore = j;
                while (endNow < count && current.commands[endNow].kind == CMD_DRAW)
                    endNow++;
                while (endBefore < countBefore && previous.commands[endBefore].kind == CMD_DRAW)
                    endBefore++;
                const bool paired = endNow - i == endBefore - j;
                if (!paired)
                    still = std::min(still, i);
                for (size_t k = i; k < endNow; k++)
                {
                    const Command &x = current.commands[k];
                    if (!paired)
                    {
                        place(k, true);
                        continue;
                    }
                    const Command &y = previous.commands[j + k - i];
                    const bool same = SameCall(current, x, previous, y);
                    place(k, !same);
                    if (!same)
                    {
                        left(j + k - i, k);
                        still = std::min(still, k);
                    }
                    // What a draw hides stays while it does: found again only for a
                    // draw the frame before did not look at.
                    if (same && !damage.empty())
                    {
                        const size_t before = j + k - i;
                        if (before < hidesBefore.size() && hidesBefore[before].known)
                            hidesNow[k] = hidesBefore[before];
                        else
                        {
                            hidesNow[k].known = true;
                            hidesNow[k].any = HiddenTiles(x, now, &hidesNow[k].tiles);
                        }
                    }
                }
                if (!paired)
                    for (size_t k = j; k < endBefore; k++)
                        left(k, i);
                i = endNow;
                j = endBefore;
                if (i == count || j == countBefore)
                {
                    whole = i != count || j != countBefore;
                    if (whole)
                        still = std::min(still, i);
                    break;
                }
                const Command &x = current.commands[i], &y = previous.commands[j];
                if (!SameCall(current, x, previous, y))
                {
                    whole = true;
                    still = std::min(still, i);
                }
                now.Step(current, x);
                before.Step(previous, y);
                i++;
                j++;
            }
            MarkDamage();
        }
        std::vector<Rect> &areas = areaList;
        uint64_t pixels = 0;
        if (!whole && damaged &&
            (!TileAreas(&areas, &pixels) ||
             (double)pixels > kMaxShare * (double)screenWidth * (double)screenHeight))
            whole = true;
        // All of the damage hidden: the same picture.
        if (!whole && damaged && pixels == 0)
            damaged = false;

        // The kept layer holds while its calls stay the same. A frame whose first calls
        // drew something and matched the frame before in as many calls in two
        // comparisons running is drawn whole, and the layer kept after those calls.
        still = std::min(still, current.commands.size());
        if (!compared || still < layerCommands)
            layerKept = false;
        size_t keepAt = SIZE_MAX;
        if (compared && !layerKept && !layerRefused && still == lastStill && DrawsBefore(current, still) &&
            inner->CanKeepLayer())
            keepAt = still;
        lastStill = compared ? still : 0;

        if (whole || keepAt != SIZE_MAX)
        {
            SendWhole(current, keepAt);
            stats.wholeFrames++;
        }
        else if (!damaged)
        {
            // The same picture: the states move on, the pixels stay.
            SendState(state);
            for (const Command &command : current.commands)
                if (command.kind == CMD_FENCE)
                    Send(current, command);
            stats.unchangedFrames++;
        }
        else
        {
            SendAreas(areas);
            stats.partialFrames++;
            stats.lastAreas = (uint32_t)areas.size();
            stats.lastPixels = pixels;
        }
        drawnSinceEnd = false;
        if (compared)
            hidesBefore.swap(hidesNow);
        else
            hidesBefore.clear();
        previous.commands.swap(current.commands);
        previous.bytes.swap(current.bytes);
        previous.start = current.start;
        previousValid = true;
        current.Clear();
    }

    // The frame's calls in their order, each state sent once: a draw that can be cut goes
    // out once, cut to the damaged areas (with the cut draws next to it), any other clear
    // or draw once for every damaged area it reaches, cut to it by the scissor. The areas
    // do not overlap, so every pixel still sees its draws in the frame's order; the driver
    // sees the states change as often as in a whole frame (a software renderer copies its
    // whole drawing state at each change of texture, blending, program or scissor).
    void SendAreas(const std::vector<Rect> &areas)
    {
        // The layer's pixels first, in place of its calls' clears and draws.
        const size_t fromLayer = layerKept ? layerCommands : 0;
        if (layerKept)
        {
            restores.clear();
            for (const Rect &area : areas)
                restores.push_back({area.left, area.top, area.right, area.bottom});
            inner->RestoreLayer(restores.data(), (uint32_t)restores.size());
            stats.layerFrames++;
        }
        SendState(current.start);
        Walker walker(current.start);
        const State &states = walker.states;
        Rect sent = {-1, -1, -1, -1};
        inner->SetRenderState(PLAT_RS_SCISSORTESTENABLE, 1);
        // Cut draws of one vertex format with no call between them go out as one.
        uint32_t batchFvf = 0, batchStride = 0;
        batch.clear();
        auto cut = [&](const Rect &reach) {
            Rect target = reach;
            if (states.renderStates[PLAT_RS_SCISSORTESTENABLE])
            {
                const PlatD3dRect &scissor = states.scissor;
                target = Intersect(target, {scissor.left, scissor.top, scissor.right, scissor.bottom});
            }
            if (target.Empty())
                return false;
            if (memcmp(&target, &sent, sizeof(target)) != 0)
            {
                inner->SetScissorRect({target.left, target.top, target.right, target.bottom});
                sent = target;
            }
            return true;
        };
        auto flush = [&]() {
            if (!batch.empty() && cut({0, 0, screenWidth, screenHeight}))
                inner->Draw(PLAT_PT_TRIANGLELIST, batchFvf, batchStride, batch.data(),
                            (uint32_t)(batch.size() / batchStride));
            batch.clear();
        };
        for (size_t i = 0; i < current.commands.size(); i++)
        {
            const Command &command = current.commands[i];
            if (i < fromLayer && (command.kind == CMD_DRAW || command.kind == CMD_CLEAR))
                continue;
            const bool draw = command.kind == CMD_DRAW;
            if (!draw || command.b != batchFvf || command.c != batchStride)
            {
                flush();
                batchFvf = draw ? command.b : 0;
                batchStride = draw ? command.c : 0;
            }
            walker.Step(current, command);
            switch (command.kind)
            {
            case CMD_RENDER_STATE:
                // The scissor stays on: `cut` applies the frame's own.
                if (command.a != PLAT_RS_SCISSORTESTENABLE)
                    Send(current, command);
                break;
            case CMD_SCISSOR:
                break;
            case CMD_CLEAR: {
                PlatD3dRect rect;
                memcpy(&rect, current.At(command), sizeof(rect));
                for (const Rect &area : areas)
                {
                    Rect reach = Intersect({rect.left, rect.top, rect.right, rect.bottom}, area);
                    if (cut(reach))
                        inner->Clear({reach.left, reach.top, reach.right, reach.bottom}, command.a, command.b,
                                     command.z);
                }
                break;
            }
            case CMD_DRAW:
                if (inAreas[i] ? Whole(command) : Cut(command, i, walker, areas))
                {
                    stats.cutDraws++;
                    break;
                }
                flush();
                stats.scissoredDraws++;
                for (const Rect &area : areas)
                {
                    if (!cut(Intersect(area, drawAreas[i])))
                        continue;
                    if (firstTriangle[i] != SIZE_MAX)
                        SendListIn(command, firstTriangle[i], area);
                    else
                        Send(current, command);
                }
                break;
            default:
                Send(current, command);
                break;
            }
        }
        flush();
        // The states as the frame left them.
        inner->SetRenderState(PLAT_RS_SCISSORTESTENABLE, state.renderStates[PLAT_RS_SCISSORTESTENABLE]);
        inner->SetScissorRect(state.scissor);
    }

    PlatD3dExecutor *inner;
    State state;
    Frame current, previous;
    bool previousValid = false;
    bool passThrough = false;
    bool drawnSinceEnd = false;
    bool resolvedEarly = false, segmented = false;
    std::vector<uint32_t> pendingFences;
    int32_t screenWidth = 0, screenHeight = 0;
    int32_t tilesX = 0, tilesY = 0;
    std::vector<uint8_t> tiles;
    std::vector<Rect> drawAreas, areaList, triangleAreas;
    // Of each draw: whether every pixel it covers lies in the areas (a changed draw none
    // of whose damage was hidden).
    std::vector<uint8_t> inAreas;
    std::vector<size_t> firstTriangle;
    std::vector<uint8_t> picked, batch;
    // The kept layer: the pixels of the first `layerCommands` calls, the same in every
    // frame since it was kept; `lastStill` the calls the last comparison found the same.
    bool layerKept = false, layerRefused = false;
    size_t layerCommands = 0, lastStill = 0;
    std::vector<Rect> reached;
    std::vector<PlatD3dRect> restores;
    std::vector<Corner> polygon, scratch;
    std::unordered_map<uint32_t, uint32_t> versions;
    std::unordered_map<uint32_t, Opacity> opacity;
    // Damage with the call it comes at.
    struct Damage
    {
        Rect area;
        size_t at;
        bool own; // of this frame's draw `at` (else of the frame before's in its place)
    };
    std::vector<Damage> damage;
    // Of each draw of the frame (and of the frame before): whether it was looked at, and
    // the tiles it hides.
    struct Hides
    {
        bool known = false, any = false;
        Rect tiles = {0, 0, 0, 0};
    };
    std::vector<Hides> hidesNow, hidesBefore;
    // Of each tile, one more than the last call that hides it (0: none).
    std::vector<uint32_t> hiddenBy;
};

} // namespace

PlatD3dExecutor *PlatD3dCreateDamageExecutor(PlatD3dExecutor *inner, uint32_t width, uint32_t height)
{
    if (!inner)
        return nullptr;
    DamageExecutor *executor = new DamageExecutor(inner);
    executor->SetBackBufferSize(width, height);
    return executor;
}

bool PlatD3dGetDamageStats(const PlatD3dExecutor *executor, PlatD3dDamageStats *out)
{
    const DamageExecutor *damage = dynamic_cast<const DamageExecutor *>(executor);
    if (!damage || !out)
        return false;
    *out = damage->stats;
    return true;
}
