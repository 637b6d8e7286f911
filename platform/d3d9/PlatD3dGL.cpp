// The OpenGL 3.3 core executor. Shader programs reproduce the fixed-function results
// the engine relies on (each specialised to the state of a draw and made at its first
// use, with a general one as their fallback): lighting on with no lights (emissive +
// ambient x global ambient, alpha from the diffuse source), material or vertex colours,
// texture stage 0 colour and alpha operations, X8 textures sampled with alpha 1,
// pre-transformed vertices, pixel centres on whole pixel coordinates, depth 0..1 and
// clockwise front faces. Drawing goes straight into the window's own buffer when it has
// the back buffer's size, no alpha (so destination alpha reads as 1) and a depth and
// stencil buffer; otherwise (multisampling, another size, a surface with alpha) into an
// off-screen back buffer without alpha, which is blitted to the window at present. Vsync
// follows the presentation interval through the swap interval.
//
// Sections: GL entry points, shaders, the executor, state, drawing, present and read-back.
#include <SDL.h>
#include <GL/glcorearb.h>

#include <cstdio>
#include <cstring>
#include <unordered_map>
#include <vector>

#include "PlatD3dExecutor.h"
#include "PlatD3dInternal.h"
#include "PlatWin.h"

// ---- GL entry points --------------------------------------------------------------------

#define PLAT_GL_FUNCTIONS(X)                                                                     \
    X(PFNGLGETSTRINGPROC, GetString)                                                             \
    X(PFNGLGETINTEGERVPROC, GetIntegerv)                                                         \
    X(PFNGLGETERRORPROC, GetError)                                                               \
    X(PFNGLENABLEPROC, Enable)                                                                   \
    X(PFNGLDISABLEPROC, Disable)                                                                 \
    X(PFNGLBLENDFUNCPROC, BlendFunc)                                                             \
    X(PFNGLDEPTHFUNCPROC, DepthFunc)                                                             \
    X(PFNGLDEPTHMASKPROC, DepthMask)                                                             \
    X(PFNGLDEPTHRANGEPROC, DepthRange)                                                           \
    X(PFNGLCULLFACEPROC, CullFace)                                                               \
    X(PFNGLFRONTFACEPROC, FrontFace)                                                             \
    X(PFNGLVIEWPORTPROC, Viewport)                                                               \
    X(PFNGLSCISSORPROC, Scissor)                                                                 \
    X(PFNGLCLEARCOLORPROC, ClearColor)                                                           \
    X(PFNGLCLEARDEPTHPROC, ClearDepth)                                                           \
    X(PFNGLCLEARSTENCILPROC, ClearStencil)                                                       \
    X(PFNGLCLEARPROC, Clear)                                                                     \
    X(PFNGLCOLORMASKPROC, ColorMask)                                                             \
    X(PFNGLPIXELSTOREIPROC, PixelStorei)                                                         \
    X(PFNGLREADPIXELSPROC, ReadPixels)                                                           \
    X(PFNGLFINISHPROC, Finish)                                                                   \
    X(PFNGLFLUSHPROC, Flush)                                                                     \
    X(PFNGLGENTEXTURESPROC, GenTextures)                                                         \
    X(PFNGLDELETETEXTURESPROC, DeleteTextures)                                                   \
    X(PFNGLBINDTEXTUREPROC, BindTexture)                                                         \
    X(PFNGLTEXIMAGE2DPROC, TexImage2D)                                                           \
    X(PFNGLTEXPARAMETERIPROC, TexParameteri)                                                     \
    X(PFNGLACTIVETEXTUREPROC, ActiveTexture)                                                     \
    X(PFNGLGENSAMPLERSPROC, GenSamplers)                                                         \
    X(PFNGLDELETESAMPLERSPROC, DeleteSamplers)                                                   \
    X(PFNGLBINDSAMPLERPROC, BindSampler)                                                         \
    X(PFNGLSAMPLERPARAMETERIPROC, SamplerParameteri)                                             \
    X(PFNGLGENBUFFERSPROC, GenBuffers)                                                           \
    X(PFNGLDELETEBUFFERSPROC, DeleteBuffers)                                                     \
    X(PFNGLBINDBUFFERPROC, BindBuffer)                                                           \
    X(PFNGLBUFFERDATAPROC, BufferData)                                                           \
    X(PFNGLBUFFERSUBDATAPROC, BufferSubData)                                                     \
    X(PFNGLMAPBUFFERRANGEPROC, MapBufferRange)                                                   \
    X(PFNGLUNMAPBUFFERPROC, UnmapBuffer)                                                         \
    X(PFNGLGENVERTEXARRAYSPROC, GenVertexArrays)                                                 \
    X(PFNGLDELETEVERTEXARRAYSPROC, DeleteVertexArrays)                                           \
    X(PFNGLBINDVERTEXARRAYPROC, BindVertexArray)                                                 \
    X(PFNGLVERTEXATTRIBPOINTERPROC, VertexAttribPointer)                                         \
    X(PFNGLENABLEVERTEXATTRIBARRAYPROC, EnableVertexAttribArray)                                 \
    X(PFNGLDISABLEVERTEXATTRIBARRAYPROC, DisableVertexAttribArray)                               \
    X(PFNGLVERTEXATTRIB4FPROC, VertexAttrib4f)                                                   \
    X(PFNGLDRAWARRAYSPROC, DrawArrays)                                                           \
    X(PFNGLCREATESHADERPROC, CreateShader)                                                       \
    X(PFNGLSHADERSOURCEPROC, ShaderSource)                                                       \
    X(PFNGLCOMPILESHADERPROC, CompileShader)                                                     \
    X(PFNGLGETSHADERIVPROC, GetShaderiv)                                                         \
    X(PFNGLGETSHADERINFOLOGPROC, GetShaderInfoLog)                                               \
    X(PFNGLDELETESHADERPROC, DeleteShader)                                                       \
    X(PFNGLCREATEPROGRAMPROC, CreateProgram)                                                     \
    X(PFNGLATTACHSHADERPROC, AttachShader)                                                       \
    X(PFNGLDETACHSHADERPROC, DetachShader)                                                       \
    X(PFNGLBINDATTRIBLOCATIONPROC, BindAttribLocation)                                           \
    X(PFNGLBINDFRAGDATALOCATIONPROC, BindFragDataLocation)                                       \
    X(PFNGLLINKPROGRAMPROC, LinkProgram)                                                         \
    X(PFNGLGETPROGRAMIVPROC, GetProgramiv)                                                       \
    X(PFNGLGETPROGRAMINFOLOGPROC, GetProgramInfoLog)                                             \
    X(PFNGLDELETEPROGRAMPROC, DeleteProgram)                                                     \
    X(PFNGLUSEPROGRAMPROC, UseProgram)                                                           \
    X(PFNGLGETUNIFORMLOCATIONPROC, GetUniformLocation)                                           \
    X(PFNGLUNIFORM1IPROC, Uniform1i)                                                             \
    X(PFNGLUNIFORM4FVPROC, Uniform4fv)                                                           \
    X(PFNGLUNIFORMMATRIX4FVPROC, UniformMatrix4fv)                                               \
    X(PFNGLGENFRAMEBUFFERSPROC, GenFramebuffers)                                                 \
    X(PFNGLDELETEFRAMEBUFFERSPROC, DeleteFramebuffers)                                           \
    X(PFNGLBINDFRAMEBUFFERPROC, BindFramebuffer)                                                 \
    X(PFNGLFRAMEBUFFERRENDERBUFFERPROC, FramebufferRenderbuffer)                                 \
    X(PFNGLFRAMEBUFFERTEXTURE2DPROC, FramebufferTexture2D)                                       \
    X(PFNGLCHECKFRAMEBUFFERSTATUSPROC, CheckFramebufferStatus)                                   \
    X(PFNGLBLITFRAMEBUFFERPROC, BlitFramebuffer)                                                 \
    X(PFNGLGETFRAMEBUFFERATTACHMENTPARAMETERIVPROC, GetFramebufferAttachmentParameteriv)         \
    X(PFNGLGENRENDERBUFFERSPROC, GenRenderbuffers)                                               \
    X(PFNGLDELETERENDERBUFFERSPROC, DeleteRenderbuffers)                                         \
    X(PFNGLBINDRENDERBUFFERPROC, BindRenderbuffer)                                               \
    X(PFNGLRENDERBUFFERSTORAGEMULTISAMPLEPROC, RenderbufferStorageMultisample)                   \
    X(PFNGLFENCESYNCPROC, FenceSync)                                                             \
    X(PFNGLCLIENTWAITSYNCPROC, ClientWaitSync)                                                   \
    X(PFNGLDELETESYNCPROC, DeleteSync)

namespace
{

struct GLFunctions
{
#define PLAT_GL_MEMBER(type, name) type name;
    PLAT_GL_FUNCTIONS(PLAT_GL_MEMBER)
#undef PLAT_GL_MEMBER
};

bool LoadFunctions(GLFunctions *gl, void *(*getProc)(const char *name))
{
#define PLAT_GL_LOAD(type, name)                                                                 \
    gl->name = (type)getProc("gl" #name);                                                        \
    if (!gl->name)                                                                               \
    {                                                                                            \
        PlatD3dSetErrorText("Missing GL function gl%s", #name);                                  \
        return false;                                                                            \
    }
    PLAT_GL_FUNCTIONS(PLAT_GL_LOAD)
#undef PLAT_GL_LOAD
    return true;
}

// ---- Shaders --------------------------------------------------------------------------------
//
// One source per stage serves every program. The general program takes the whole
// fixed-function state as uniforms; a specialised program has the state it was built for
// defined as constants in front of the same source (each such uniform is declared only
// when its name is not defined), so the compiler folds the branches away. Under a
// software renderer the branches of the general program cost more than the drawing.

const char kVersionLine[] = "#version 330 core\n";

const char kVertexShader[] = R"(
in vec4 aPosition;
in vec4 aDiffuse;
in vec4 aSpecular;
in vec2 aTexCoord;
uniform mat4 uTransform;
#ifndef uPreTransformed
uniform int uPreTransformed;
#endif
uniform vec4 uViewport;
#ifndef uLighting
uniform int uLighting;
#endif
uniform vec4 uMatDiffuse;
uniform vec4 uMatAmbient;
uniform vec4 uMatEmissive;
uniform vec4 uGlobalAmbient;
uniform int uDiffuseSource;
uniform int uAmbientSource;
uniform int uEmissiveSource;
uniform int uHasDiffuse;
uniform int uHasSpecular;
out vec4 vDiffuse;
out vec4 vSpecular;
out vec2 vTexCoord;

// Pixel centres lie on whole coordinates: positions move by half a pixel, less a
// sixty-fourth so that a centre on an edge belongs to the shape below or right of it
// (top and left edges in, bottom and right edges out), whatever GL's own tie rule.
const float kCentre = 0.5 - 1.0 / 64.0;

vec4 Source(int source, vec4 material)
{
    if (source == 1 && uHasDiffuse != 0)
        return aDiffuse;
    if (source == 2 && uHasSpecular != 0)
        return aSpecular;
    return material;
}

void main()
{
    vec4 clip;
    if (uPreTransformed != 0)
    {
        // Pixel positions (centres on whole numbers) inside the viewport; depth as given.
        float w = aPosition.w != 0.0 ? 1.0 / aPosition.w : 1.0;
        vec2 ndc = vec2((aPosition.x + kCentre - uViewport.x) / uViewport.z * 2.0 - 1.0,
                        1.0 - (aPosition.y + kCentre - uViewport.y) / uViewport.w * 2.0);
        clip = vec4(ndc * w, (aPosition.z * 2.0 - 1.0) * w, w);
    }
    else
    {
        clip = uTransform * vec4(aPosition.xyz, 1.0);
        // Whole-pixel centres, and depth 0..w onto GL's -w..w.
        clip.x += clip.w * 2.0 * kCentre / uViewport.z;
        clip.y -= clip.w * 2.0 * kCentre / uViewport.w;
        clip.z = clip.z * 2.0 - clip.w;
    }
    gl_Position = clip;
    vec4 diffuse = uHasDiffuse != 0 ? aDiffuse : vec4(1.0);
    vec4 specular = uHasSpecular != 0 ? aSpecular : vec4(0.0);
    if (uLighting != 0 && uPreTransformed == 0)
    {
        // Pre-transformed vertices are never lit. No lights: emissive plus ambient under the global ambient light.
        vec4 d = Source(uDiffuseSource, uMatDiffuse);
        vec4 a = Source(uAmbientSource, uMatAmbient);
        vec4 e = Source(uEmissiveSource, uMatEmissive);
        diffuse = vec4(clamp(e.rgb + a.rgb * uGlobalAmbient.rgb, 0.0, 1.0), clamp(d.a, 0.0, 1.0));
        specular = vec4(0.0);
    }
    vDiffuse = diffuse;
    vSpecular = specular;
    vTexCoord = aTexCoord;
}
)";

const char kFragmentShader[] = R"(
in vec4 vDiffuse;
in vec4 vSpecular;
in vec2 vTexCoord;
uniform sampler2D uTexture;
#ifndef uHasTexture
uniform int uHasTexture;
#endif
#ifndef uColourOp
uniform int uColourOp;
#endif
#ifndef uColourArg1
uniform int uColourArg1;
#endif
#ifndef uColourArg2
uniform int uColourArg2;
#endif
#ifndef uAlphaOp
uniform int uAlphaOp;
#endif
#ifndef uAlphaArg1
uniform int uAlphaArg1;
#endif
#ifndef uAlphaArg2
uniform int uAlphaArg2;
#endif
#ifndef uSpecularEnable
uniform int uSpecularEnable;
#endif
out vec4 fragColour;

// Arguments: 2 the texture, anything else the diffuse colour (the current colour of stage 0).
vec4 Arg(int arg, vec4 tex)
{
    return arg == 2 ? tex : vDiffuse;
}

vec4 Operate(int op, vec4 a1, vec4 a2, float texAlpha)
{
    if (op == 2) return a1;
    if (op == 3) return a2;
    if (op == 4) return a1 * a2;
    if (op == 5) return min(a1 * a2 * 2.0, vec4(1.0));
    if (op == 7) return min(a1 + a2, vec4(1.0));
    if (op == 13) return a1 * texAlpha + a2 * (1.0 - texAlpha);
    return a1;
}

void main()
{
    // A stage without a texture samples opaque white.
    vec4 tex = uHasTexture != 0 ? texture(uTexture, vTexCoord) : vec4(1.0);
    vec4 result = vDiffuse;
    if (uColourOp != 1)
    {
        result.rgb = Operate(uColourOp, Arg(uColourArg1, tex), Arg(uColourArg2, tex), tex.a).rgb;
        if (uAlphaOp != 1)
            result.a = Operate(uAlphaOp, Arg(uAlphaArg1, tex), Arg(uAlphaArg2, tex), tex.a).a;
    }
    if (uSpecularEnable != 0)
        result.rgb = min(result.rgb + vSpecular.rgb, vec3(1.0));
    fragColour = result;
}
)";

enum Attribute
{
    ATTR_POSITION = 0,
    ATTR_DIFFUSE = 1,
    ATTR_SPECULAR = 2,
    ATTR_TEXCOORD = 3,
};

enum Uniform
{
    U_TRANSFORM,
    U_PRETRANSFORMED,
    U_VIEWPORT,
    U_LIGHTING,
    U_MAT_DIFFUSE,
    U_MAT_AMBIENT,
    U_MAT_EMISSIVE,
    U_GLOBAL_AMBIENT,
    U_DIFFUSE_SOURCE,
    U_AMBIENT_SOURCE,
    U_EMISSIVE_SOURCE,
    U_HAS_DIFFUSE,
    U_HAS_SPECULAR,
    U_TEXTURE,
    U_HAS_TEXTURE,
    U_COLOUR_OP,
    U_COLOUR_ARG1,
    U_COLOUR_ARG2,
    U_ALPHA_OP,
    U_ALPHA_ARG1,
    U_ALPHA_ARG2,
    U_SPECULAR_ENABLE,
    U_COUNT
};

const char *const kUniformNames[U_COUNT] = {
    "uTransform",     "uPreTransformed", "uViewport",    "uLighting",       "uMatDiffuse",    "uMatAmbient",
    "uMatEmissive",   "uGlobalAmbient",  "uDiffuseSource", "uAmbientSource", "uEmissiveSource", "uHasDiffuse",
    "uHasSpecular",   "uTexture",        "uHasTexture",  "uColourOp",       "uColourArg1",    "uColourArg2",
    "uAlphaOp",       "uAlphaArg1",      "uAlphaArg2",   "uSpecularEnable",
};

// Uniforms that change together, each with the stamp of its last change: a program
// loads a group again when its stamp differs from the one it holds, so every program
// catches up with what changed while another one was drawing.
enum UniformGroup
{
    G_TRANSFORM,  // the combined matrix
    G_VIEWPORT,
    G_LIGHTING,   // lighting on or off, material, global ambient, colour sources
    G_VERTEX,     // pre-transformed, diffuse and specular present
    G_STAGE,      // colour and alpha operations and arguments, specular enable
    G_TEXTURE,    // a texture bound
    G_COUNT
};

// A specialised program's key: the fixed-function state it was built for, reduced to
// what changes its result (an operation the shader does not know acts as the first
// argument, an argument is the texture or the diffuse colour, an unused argument and a
// texture nothing reads do not count).
enum ProgramKeyBits
{
    KEY_TEXTURE = 1u << 0,
    KEY_COLOUR_OP_SHIFT = 1,   // 5 bits
    KEY_COLOUR_ARG1_TEXTURE = 1u << 6,
    KEY_COLOUR_ARG2_TEXTURE = 1u << 7,
    KEY_ALPHA_OP_SHIFT = 8,    // 5 bits
    KEY_ALPHA_ARG1_TEXTURE = 1u << 13,
    KEY_ALPHA_ARG2_TEXTURE = 1u << 14,
    KEY_SPECULAR = 1u << 15,
    KEY_PRETRANSFORMED = 1u << 16,
    KEY_LIGHTING = 1u << 17,
};

uint32_t KnownOperation(uint32_t op)
{
    switch (op)
    {
    case PLAT_TOP_DISABLE:
    case PLAT_TOP_SELECTARG1:
    case PLAT_TOP_SELECTARG2:
    case PLAT_TOP_MODULATE:
    case PLAT_TOP_MODULATE2X:
    case PLAT_TOP_ADD:
    case PLAT_TOP_BLENDTEXTUREALPHA:
        return op;
    default:
        return PLAT_TOP_SELECTARG1;
    }
}

// Of one operation: its arguments that read the texture (bits 1 and 2), and 4 when it
// reads the texture's alpha on its own.
uint32_t TextureUse(uint32_t op, uint32_t arg1, uint32_t arg2)
{
    uint32_t use = 0;
    if (op != PLAT_TOP_SELECTARG2 && arg1 == PLAT_TA_TEXTURE)
        use |= 1;
    if (op != PLAT_TOP_SELECTARG1 && arg2 == PLAT_TA_TEXTURE)
        use |= 2;
    if (op == PLAT_TOP_BLENDTEXTUREALPHA)
        use |= 4;
    return use;
}

uint32_t MakeProgramKey(const uint32_t stageStates[PLAT_TSS_COUNT], bool hasTexture, bool specular,
                        bool preTransformed, bool lighting)
{
    uint32_t key = 0;
    uint32_t colourOp = KnownOperation(stageStates[PLAT_TSS_COLOROP]);
    uint32_t alphaOp = colourOp == PLAT_TOP_DISABLE ? PLAT_TOP_DISABLE : KnownOperation(stageStates[PLAT_TSS_ALPHAOP]);
    uint32_t colourUse = colourOp == PLAT_TOP_DISABLE
                             ? 0
                             : TextureUse(colourOp, stageStates[PLAT_TSS_COLORARG1], stageStates[PLAT_TSS_COLORARG2]);
    uint32_t alphaUse = alphaOp == PLAT_TOP_DISABLE
                            ? 0
                            : TextureUse(alphaOp, stageStates[PLAT_TSS_ALPHAARG1], stageStates[PLAT_TSS_ALPHAARG2]);
    key |= colourOp << KEY_COLOUR_OP_SHIFT;
    key |= alphaOp << KEY_ALPHA_OP_SHIFT;
    key |= (colourUse & 1) ? KEY_COLOUR_ARG1_TEXTURE : 0;
    key |= (colourUse & 2) ? KEY_COLOUR_ARG2_TEXTURE : 0;
    key |= (alphaUse & 1) ? KEY_ALPHA_ARG1_TEXTURE : 0;
    key |= (alphaUse & 2) ? KEY_ALPHA_ARG2_TEXTURE : 0;
    key |= hasTexture && (colourUse | alphaUse) ? KEY_TEXTURE : 0;
    key |= specular ? KEY_SPECULAR : 0;
    key |= preTransformed ? KEY_PRETRANSFORMED : 0;
    // Pre-transformed vertices are never lit.
    key |= lighting && !preTransformed ? KEY_LIGHTING : 0;
    return key;
}

// The constants that specialise the vertex and fragment sources to a key.
void WriteVertexDefines(uint32_t key, char *text, size_t size)
{
    snprintf(text, size, "#define uPreTransformed %d\n#define uLighting %d\n", (key & KEY_PRETRANSFORMED) ? 1 : 0,
             (key & KEY_LIGHTING) ? 1 : 0);
}

void WriteFragmentDefines(uint32_t key, char *text, size_t size)
{
    auto arg = [key](uint32_t bit) { return (key & bit) ? (int)PLAT_TA_TEXTURE : (int)PLAT_TA_DIFFUSE; };
    snprintf(text, size,
             "#define uHasTexture %d\n#define uColourOp %u\n#define uColourArg1 %d\n#define uColourArg2 %d\n"
             "#define uAlphaOp %u\n#define uAlphaArg1 %d\n#define uAlphaArg2 %d\n#define uSpecularEnable %d\n",
             (key & KEY_TEXTURE) ? 1 : 0, (key >> KEY_COLOUR_OP_SHIFT) & 31u, arg(KEY_COLOUR_ARG1_TEXTURE),
             arg(KEY_COLOUR_ARG2_TEXTURE), (key >> KEY_ALPHA_OP_SHIFT) & 31u, arg(KEY_ALPHA_ARG1_TEXTURE),
             arg(KEY_ALPHA_ARG2_TEXTURE), (key & KEY_SPECULAR) ? 1 : 0);
}

// The tests' seam: on, every executor draws through its general program alone; and the
// count of specialised programs built.
bool s_generalOnly = false;
uint32_t s_specialisedBuilt = 0;

// The stamp a program holds for a group it never loaded.
const uint64_t kNeverLoaded = ~(uint64_t)0;

// Streaming vertex memory; refilled from the start (orphaned) when full.
const GLsizeiptr kStreamSize = 4 << 20;

// The back buffer has no alpha: factors that read the destination alpha become the
// constant they equal with an alpha of 1.
GLenum BlendFactor(uint32_t factor)
{
    switch (factor)
    {
    case PLAT_BLEND_ZERO:
        return GL_ZERO;
    case PLAT_BLEND_ONE:
        return GL_ONE;
    case PLAT_BLEND_SRCCOLOR:
        return GL_SRC_COLOR;
    case PLAT_BLEND_INVSRCCOLOR:
        return GL_ONE_MINUS_SRC_COLOR;
    case PLAT_BLEND_SRCALPHA:
        return GL_SRC_ALPHA;
    case PLAT_BLEND_INVSRCALPHA:
        return GL_ONE_MINUS_SRC_ALPHA;
    case PLAT_BLEND_DESTALPHA:
        return GL_ONE;
    case PLAT_BLEND_INVDESTALPHA:
        return GL_ZERO;
    case PLAT_BLEND_DESTCOLOR:
        return GL_DST_COLOR;
    case PLAT_BLEND_INVDESTCOLOR:
        return GL_ONE_MINUS_DST_COLOR;
    case PLAT_BLEND_SRCALPHASAT:
        // min(source alpha, 1 - destination alpha) = 0
        return GL_ZERO;
    default:
        return GL_ONE;
    }
}

void ColourToFloats(uint32_t argb, float out[4])
{
    out[0] = ((argb >> 16) & 0xFF) / 255.0f;
    out[1] = ((argb >> 8) & 0xFF) / 255.0f;
    out[2] = (argb & 0xFF) / 255.0f;
    out[3] = ((argb >> 24) & 0xFF) / 255.0f;
}

// ---- The executor --------------------------------------------------------------------

class GLExecutor : public PlatD3dExecutor
{
public:
    ~GLExecutor() override;
    bool Open(const PlatD3dPresentParameters &parameters) override;
    const char *GetRendererText() override { return rendererText; }
    void BeginScene() override {}
    void EndScene() override {}
    void SetRenderState(PlatD3dRenderState state, uint32_t value) override;
    void SetTextureStageState(uint32_t stage, PlatD3dStageState type, uint32_t value) override;
    void SetSamplerState(uint32_t sampler, PlatD3dSamplerState type, uint32_t value) override;
    void SetTransform(PlatD3dTransform which, const PlatMatrix &matrix) override;
    void SetViewport(const PlatD3dViewport &viewport) override;
    void SetScissorRect(const PlatD3dRect &rect) override;
    void SetMaterial(const PlatD3dMaterial &material) override;
    void SetTexture(uint32_t stage, uint32_t textureId) override;
    void Clear(const PlatD3dRect &rect, uint32_t flags, uint32_t colour, float z) override;
    void Draw(PlatD3dPrimitive primitive, uint32_t fvf, uint32_t stride, const void *vertices,
              uint32_t vertexCount) override;
    uint32_t CreateTexture(uint32_t width, uint32_t height, PlatD3dFormat format) override;
    void UpdateTexture(uint32_t textureId, const void *pixels) override;
    void DestroyTexture(uint32_t textureId) override;
    uint32_t CreateFence() override { return ++lastFence; }
    void IssueFence(uint32_t fenceId) override;
    bool IsFenceDone(uint32_t fenceId, bool flush) override;
    bool WaitFence(uint32_t fenceId, double seconds) override;
    void DestroyFence(uint32_t fenceId) override;
    bool Present() override;
    bool ReadBackBuffer(uint32_t *pixels, uint32_t width, uint32_t height) override;
    bool KeepsBackBuffer() override { return keepsBackBuffer; }
    bool CanKeepLayer() override { return samples == 0; }
    bool KeepLayer() override;
    bool RestoreLayer(const PlatD3dRect *rects, uint32_t count) override;

private:
    GLintptr Stream(const void *vertices, GLsizeiptr size, uint32_t stride);
    bool BuildLayerProgram();
    GLuint LinkProgram(GLuint vertex, GLuint fragment);
    void CopyPixels(GLuint from, GLuint to, const PlatD3dRect &rect, GLuint after);
    struct Texture
    {
        GLuint name;
        uint32_t width, height;
    };

    // A linked program with its own uniform locations and the stamps of the uniform
    // groups it holds.
    struct Program
    {
        GLuint name; // 0: a specialised program that failed to build
        GLint uniforms[U_COUNT];
        uint64_t loaded[G_COUNT];
    };

    bool MakeCurrent();
    bool Built(GLuint object, bool isProgram);
    GLuint CompileShader(GLenum type, const char *defines, const char *source);
    bool BuildProgram(Program *program, bool general, uint32_t key);
    Program *SelectProgram(uint32_t key);
    void LoadUniforms(Program *program);
    void Touch(UniformGroup group) { changed[group] = ++stamp; }
    bool CanDrawDirect();
    bool KeepsPixelsThroughPresent();
    bool BuildBackBuffer();
    // False when no program can draw.
    bool ApplyState();
    void ResolveBackBuffer();

    GLFunctions gl = {};
    PlatD3dPresentParameters parameters = {};
    // The game's window (through platform/win), or a hidden SDL window of our own.
    PlatWindow *platWindow = nullptr;
    PlatGLContext *platContext = nullptr;
    SDL_Window *window = nullptr;
    SDL_GLContext context = nullptr;
    bool ownsWindow = false;
    bool holdsVideo = false;
    char rendererText[256] = "OpenGL";

    // The general program (drawing when specialisation is off or a specialised program
    // fails), the specialised ones by key, each made at its first draw, and the vertex
    // shaders the specialised ones share by their vertex part of the key.
    Program general = {};
    bool generalFailed = false;
    std::unordered_map<uint32_t, Program> specialised;
    GLuint vertexShaders[4] = {};
    Program *current = nullptr;
    uint32_t currentKey = 0xFFFFFFFFu;
    bool currentGeneralOnly = false;
    GLuint vertexArray = 0;
    GLuint streamBuffer = 0;
    GLsizeiptr streamUsed = 0;
    GLuint sampler = 0;
    GLuint frameBuffer = 0, colourBuffer = 0, depthBuffer = 0;
    GLuint resolveFrameBuffer = 0, resolveColourBuffer = 0;
    GLuint layerFrameBuffer = 0, layerTexture = 0;
    GLuint layerProgram = 0;
    GLint layerSizeUniform = -1;
    std::vector<float> layerCorners; // the areas' corners of the last copy back, kept for its storage
    int samples = 0;
    // Drawing goes straight into the window's buffer (frameBuffer is then 0).
    bool direct = false;
    // That buffer keeps its pixels through a present (seen, on a software renderer).
    bool keepsBackBuffer = false;

    // State as the device set it, and what has reached GL.
    uint32_t renderStates[PLAT_RS_COUNT] = {};
    uint32_t stageStates[PLAT_TSS_COUNT] = {};
    uint32_t samplerStates[PLAT_SAMP_COUNT] = {};
    PlatMatrix world = {}, view = {}, projection = {};
    PlatD3dViewport viewport = {};
    PlatD3dRect scissor = {};
    PlatD3dMaterial material = {};
    uint32_t boundTexture = 0;
    GLuint glTexture = 0;         // the texture GL has bound
    bool fixedDirty = true;    // blend, depth, cull, scissor, viewport
    bool samplerDirty = true;
    // Uniform groups: the stamp of each one's last change. A new program holds the stamp
    // no change ever gets, so it loads every group at its first draw.
    uint64_t changed[G_COUNT] = {};
    uint64_t stamp = 0;
    bool combinedStale = true;
    PlatMatrix combined = {};
    // The vertex format's pre-transformed, diffuse and specular bits, and whether a
    // texture is bound, as of the last draw.
    uint32_t vertexFlags = 0xFFFFFFFFu;
    bool hasTexture = false;
    // The vertex layout the attribute pointers were last set for.
    uint32_t layoutFvf = 0xFFFFFFFFu;
    uint32_t layoutStride = 0;

    std::unordered_map<uint32_t, Texture> textures;
    uint32_t lastTexture = 0;
    std::unordered_map<uint32_t, GLsync> fences;
    uint32_t lastFence = 0;
};

// The executor whose context was made current last.
GLExecutor *s_currentExecutor = nullptr;

GLExecutor::~GLExecutor()
{
    if (context || platContext)
    {
        MakeCurrent();
        for (auto &entry : textures)
            gl.DeleteTextures(1, &entry.second.name);
        for (auto &entry : fences)
            if (entry.second)
                gl.DeleteSync(entry.second);
        if (general.name)
            gl.DeleteProgram(general.name);
        for (auto &entry : specialised)
            if (entry.second.name)
                gl.DeleteProgram(entry.second.name);
        for (GLuint shader : vertexShaders)
            if (shader)
                gl.DeleteShader(shader);
        if (vertexArray)
            gl.DeleteVertexArrays(1, &vertexArray);
        if (streamBuffer)
            gl.DeleteBuffers(1, &streamBuffer);
        if (sampler)
            gl.DeleteSamplers(1, &sampler);
        GLuint frameBuffers[] = {frameBuffer, resolveFrameBuffer, layerFrameBuffer};
        GLuint renderBuffers[] = {colourBuffer, depthBuffer, resolveColourBuffer};
        gl.DeleteFramebuffers(3, frameBuffers);
        gl.DeleteRenderbuffers(3, renderBuffers);
        if (layerTexture)
            gl.DeleteTextures(1, &layerTexture);
        if (layerProgram)
            gl.DeleteProgram(layerProgram);
        if (platContext)
            PlatWinGLDeleteContext(platContext);
        else
        {
            SDL_GL_MakeCurrent(window, nullptr);
            SDL_GL_DeleteContext(context);
        }
    }
    if (s_currentExecutor == this)
        s_currentExecutor = nullptr;
    if (ownsWindow && window)
        SDL_DestroyWindow(window);
    if (holdsVideo)
        PlatWinReleaseVideo();
}

bool GLExecutor::MakeCurrent()
{
    if (s_currentExecutor == this)
        return true;
    bool ok = platContext ? PlatWinGLMakeCurrent(platWindow, platContext) : SDL_GL_MakeCurrent(window, context) == 0;
    if (ok)
        s_currentExecutor = this;
    return ok;
}

bool GLExecutor::Open(const PlatD3dPresentParameters &given)
{
    parameters = given;
    if (!PlatWinAcquireVideo())
    {
        PlatD3dSetErrorText("No video: %s", PlatWinGetErrorText());
        return false;
    }
    holdsVideo = true;
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    platWindow = (PlatWindow *)parameters.deviceWindow;
    if (platWindow)
    {
        platContext = PlatWinGLCreateContext(platWindow);
        if (!platContext)
        {
            PlatD3dSetErrorText("No OpenGL 3.3 core context: %s", PlatWinGetErrorText());
            return false;
        }
    }
    else
    {
        // No window to show in: draw off-screen in a hidden window of our own.
        window = SDL_CreateWindow("", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, 16, 16,
                                  SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
        if (!window)
        {
            PlatD3dSetErrorText("No window for GL: %s", SDL_GetError());
            return false;
        }
        ownsWindow = true;
        context = SDL_GL_CreateContext(window);
        if (!context)
        {
            PlatD3dSetErrorText("No OpenGL 3.3 core context: %s", SDL_GetError());
            return false;
        }
    }
    s_currentExecutor = nullptr;
    if (!MakeCurrent() || !LoadFunctions(&gl, platContext ? PlatWinGLGetProcAddress : SDL_GL_GetProcAddress))
        return false;
    snprintf(rendererText, sizeof(rendererText), "%s, %s", (const char *)gl.GetString(GL_RENDERER),
             (const char *)gl.GetString(GL_VERSION));
    if (platWindow)
        PlatWinGLSetSwapInterval(parameters.presentationInterval == PLAT_PRESENT_INTERVAL_IMMEDIATE ? 0 : 1);
    if (!BuildBackBuffer())
        return false;

    gl.GenVertexArrays(1, &vertexArray);
    gl.BindVertexArray(vertexArray);
    gl.GenBuffers(1, &streamBuffer);
    gl.BindBuffer(GL_ARRAY_BUFFER, streamBuffer);
    gl.BufferData(GL_ARRAY_BUFFER, kStreamSize, nullptr, GL_STREAM_DRAW);
    gl.GenSamplers(1, &sampler);
    gl.ActiveTexture(GL_TEXTURE0);
    gl.BindSampler(0, sampler);
    gl.DepthFunc(GL_LEQUAL);
    gl.FrontFace(GL_CW);
    gl.PixelStorei(GL_UNPACK_ALIGNMENT, 4);
    gl.PixelStorei(GL_PACK_ALIGNMENT, 4);
    if (gl.GetError() != GL_NO_ERROR)
    {
        PlatD3dSetErrorText("GL set-up failed");
        return false;
    }
    return true;
}

// Whether a shader compiled or a program linked; if not, its log becomes the error text.
bool GLExecutor::Built(GLuint object, bool isProgram)
{
    GLint ok = 0;
    char info[400] = "";
    if (isProgram)
        gl.GetProgramiv(object, GL_LINK_STATUS, &ok);
    else
        gl.GetShaderiv(object, GL_COMPILE_STATUS, &ok);
    if (ok)
        return true;
    if (isProgram)
        gl.GetProgramInfoLog(object, sizeof(info), nullptr, info);
    else
        gl.GetShaderInfoLog(object, sizeof(info), nullptr, info);
    PlatD3dSetErrorText("%s: %s", isProgram ? "Program" : "Shader", info);
    return false;
}

GLuint GLExecutor::CompileShader(GLenum type, const char *defines, const char *source)
{
    const char *parts[3] = {kVersionLine, defines, source};
    GLuint shader = gl.CreateShader(type);
    gl.ShaderSource(shader, 3, parts, nullptr);
    gl.CompileShader(shader);
    if (!Built(shader, false))
    {
        gl.DeleteShader(shader);
        return 0;
    }
    return shader;
}

// A program of two compiled shaders, the vertex inputs and the colour output at their
// places; 0 with the reason in the error text. The shaders stay the caller's.
GLuint GLExecutor::LinkProgram(GLuint vertex, GLuint fragment)
{
    GLuint program = gl.CreateProgram();
    gl.AttachShader(program, vertex);
    gl.AttachShader(program, fragment);
    gl.BindAttribLocation(program, ATTR_POSITION, "aPosition");
    gl.BindAttribLocation(program, ATTR_DIFFUSE, "aDiffuse");
    gl.BindAttribLocation(program, ATTR_SPECULAR, "aSpecular");
    gl.BindAttribLocation(program, ATTR_TEXCOORD, "aTexCoord");
    gl.BindFragDataLocation(program, 0, "fragColour");
    gl.LinkProgram(program);
    gl.DetachShader(program, vertex);
    gl.DetachShader(program, fragment);
    if (!Built(program, true))
    {
        gl.DeleteProgram(program);
        return 0;
    }
    return program;
}

// The general program, or the one specialised to `key`; false with the reason in the
// error text.
bool GLExecutor::BuildProgram(Program *built, bool generalProgram, uint32_t key)
{
    char vertexDefines[96] = "", fragmentDefines[400] = "";
    GLuint vertex = 0;
    bool sharedVertex = false;
    if (generalProgram)
        vertex = CompileShader(GL_VERTEX_SHADER, "", kVertexShader);
    else
    {
        // The vertex shader depends on two bits of the key only: made once for each pair.
        GLuint &cached = vertexShaders[((key & KEY_PRETRANSFORMED) ? 2 : 0) + ((key & KEY_LIGHTING) ? 1 : 0)];
        if (!cached)
        {
            WriteVertexDefines(key, vertexDefines, sizeof(vertexDefines));
            cached = CompileShader(GL_VERTEX_SHADER, vertexDefines, kVertexShader);
        }
        vertex = cached;
        sharedVertex = true;
        WriteFragmentDefines(key, fragmentDefines, sizeof(fragmentDefines));
    }
    GLuint fragment = vertex ? CompileShader(GL_FRAGMENT_SHADER, fragmentDefines, kFragmentShader) : 0;
    if (!vertex || !fragment)
    {
        if (vertex && !sharedVertex)
            gl.DeleteShader(vertex);
        return false;
    }
    GLuint program = LinkProgram(vertex, fragment);
    if (!sharedVertex)
        gl.DeleteShader(vertex);
    gl.DeleteShader(fragment);
    if (!program)
        return false;
    built->name = program;
    for (int i = 0; i < U_COUNT; i++)
        built->uniforms[i] = gl.GetUniformLocation(program, kUniformNames[i]);
    for (uint64_t &loaded : built->loaded)
        loaded = kNeverLoaded;
    // The sampler reads texture unit 0.
    gl.UseProgram(program);
    gl.Uniform1i(built->uniforms[U_TEXTURE], 0);
    // The next draw makes its own program current.
    current = nullptr;
    return true;
}

// Whether the window's own buffer can be the back buffer: the same size, no alpha
// channel, a depth buffer of 24 bits and a stencil buffer. A full-window copy per frame
// costs as much as the frame's drawing on a software renderer.
bool GLExecutor::CanDrawDirect()
{
    if (!platWindow || parameters.multiSampleType >= 2)
        return false;
    int32_t drawableWidth = 0, drawableHeight = 0;
    PlatWinGetClientSize(platWindow, &drawableWidth, &drawableHeight);
    if (drawableWidth != (int32_t)parameters.backBufferWidth || drawableHeight != (int32_t)parameters.backBufferHeight)
        return false;
    GLint alpha = -1, depth = 0, stencil = 0;
    gl.BindFramebuffer(GL_FRAMEBUFFER, 0);
    gl.GetFramebufferAttachmentParameteriv(GL_FRAMEBUFFER, GL_BACK_LEFT, GL_FRAMEBUFFER_ATTACHMENT_ALPHA_SIZE, &alpha);
    gl.GetFramebufferAttachmentParameteriv(GL_FRAMEBUFFER, GL_DEPTH, GL_FRAMEBUFFER_ATTACHMENT_DEPTH_SIZE, &depth);
    gl.GetFramebufferAttachmentParameteriv(GL_FRAMEBUFFER, GL_STENCIL, GL_FRAMEBUFFER_ATTACHMENT_STENCIL_SIZE,
                                           &stencil);
    bool ok = gl.GetError() == GL_NO_ERROR && alpha == 0 && depth >= 24 && stencil >= 8;
    return ok;
}

// Whether the window's buffer still holds a frame after it was shown. Asked only of
// software renderers, which draw into a buffer of their own and copy it to the window;
// a GPU's buffers change places at each present. A frame of a dark grey is shown and
// read back, then the buffer is cleared to black.
bool GLExecutor::KeepsPixelsThroughPresent()
{
    const char *renderer = (const char *)gl.GetString(GL_RENDERER);
    if (!renderer || (!strstr(renderer, "llvmpipe") && !strstr(renderer, "softpipe")))
        return false;
    const uint8_t probe[3] = {3, 5, 7};
    gl.Disable(GL_SCISSOR_TEST);
    gl.ClearColor(probe[0] / 255.0f, probe[1] / 255.0f, probe[2] / 255.0f, 1.0f);
    gl.Clear(GL_COLOR_BUFFER_BIT);
    PlatWinGLSwapWindow(platWindow);
    uint8_t pixel[4] = {};
    gl.ReadPixels(0, 0, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
    gl.ClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    gl.Clear(GL_COLOR_BUFFER_BIT);
    fixedDirty = true;
    return gl.GetError() == GL_NO_ERROR && memcmp(pixel, probe, sizeof(probe)) == 0;
}

bool GLExecutor::BuildBackBuffer()
{
    GLsizei width = (GLsizei)parameters.backBufferWidth;
    GLsizei height = (GLsizei)parameters.backBufferHeight;
    if (CanDrawDirect())
    {
        direct = true;
        frameBuffer = 0;
        keepsBackBuffer = KeepsPixelsThroughPresent();
        snprintf(rendererText + strlen(rendererText), sizeof(rendererText) - strlen(rendererText),
                 keepsBackBuffer ? ", drawing into the window, which keeps its pixels" : ", drawing into the window");
        return true;
    }
    if (parameters.multiSampleType >= 2)
    {
        GLint maxSamples = 0;
        gl.GetIntegerv(GL_MAX_SAMPLES, &maxSamples);
        samples = (int)parameters.multiSampleType < maxSamples ? (int)parameters.multiSampleType : maxSamples;
        if (samples < 2)
            samples = 0;
    }
    gl.GenRenderbuffers(1, &colourBuffer);
    gl.BindRenderbuffer(GL_RENDERBUFFER, colourBuffer);
    gl.RenderbufferStorageMultisample(GL_RENDERBUFFER, samples, GL_RGB8, width, height);
    gl.GenRenderbuffers(1, &depthBuffer);
    gl.BindRenderbuffer(GL_RENDERBUFFER, depthBuffer);
    gl.RenderbufferStorageMultisample(GL_RENDERBUFFER, samples, GL_DEPTH24_STENCIL8, width, height);
    gl.GenFramebuffers(1, &frameBuffer);
    gl.BindFramebuffer(GL_FRAMEBUFFER, frameBuffer);
    gl.FramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colourBuffer);
    gl.FramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER, depthBuffer);
    if (gl.CheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE)
    {
        PlatD3dSetErrorText("Back buffer %dx%d (%d samples) incomplete", width, height, samples);
        return false;
    }
    if (samples > 0)
    {
        gl.GenRenderbuffers(1, &resolveColourBuffer);
        gl.BindRenderbuffer(GL_RENDERBUFFER, resolveColourBuffer);
        gl.RenderbufferStorageMultisample(GL_RENDERBUFFER, 0, GL_RGB8, width, height);
        gl.GenFramebuffers(1, &resolveFrameBuffer);
        gl.BindFramebuffer(GL_FRAMEBUFFER, resolveFrameBuffer);
        gl.FramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, resolveColourBuffer);
        if (gl.CheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE)
        {
            PlatD3dSetErrorText("Resolve buffer incomplete");
            return false;
        }
        gl.BindFramebuffer(GL_FRAMEBUFFER, frameBuffer);
        gl.Enable(GL_MULTISAMPLE);
    }
    return true;
}

// ---- State -------------------------------------------------------------------------------

void GLExecutor::SetRenderState(PlatD3dRenderState state, uint32_t value)
{
    if (state >= PLAT_RS_COUNT || renderStates[state] == value)
        return;
    renderStates[state] = value;
    switch (state)
    {
    case PLAT_RS_LIGHTING:
    case PLAT_RS_AMBIENT:
    case PLAT_RS_DIFFUSEMATERIALSOURCE:
    case PLAT_RS_AMBIENTMATERIALSOURCE:
    case PLAT_RS_EMISSIVEMATERIALSOURCE:
        Touch(G_LIGHTING);
        break;
    case PLAT_RS_SPECULARENABLE:
        Touch(G_STAGE);
        break;
    case PLAT_RS_LOCALVIEWER:
        break;
    default:
        fixedDirty = true;
        break;
    }
}

void GLExecutor::SetTextureStageState(uint32_t stage, PlatD3dStageState type, uint32_t value)
{
    // Only stage 0 takes part: the engine keeps the later stages disabled.
    if (stage != 0 || type >= PLAT_TSS_COUNT || stageStates[type] == value)
        return;
    stageStates[type] = value;
    Touch(G_STAGE);
}

void GLExecutor::SetSamplerState(uint32_t stage, PlatD3dSamplerState type, uint32_t value)
{
    if (stage != 0 || type >= PLAT_SAMP_COUNT || samplerStates[type] == value)
        return;
    samplerStates[type] = value;
    samplerDirty = true;
}

void GLExecutor::SetTransform(PlatD3dTransform which, const PlatMatrix &matrix)
{
    if (which == PLAT_TS_WORLD)
        world = matrix;
    else if (which == PLAT_TS_VIEW)
        view = matrix;
    else if (which == PLAT_TS_PROJECTION)
        projection = matrix;
    combinedStale = true;
    Touch(G_TRANSFORM);
}

void GLExecutor::SetViewport(const PlatD3dViewport &given)
{
    viewport = given;
    fixedDirty = true;
    Touch(G_VIEWPORT);
}

void GLExecutor::SetScissorRect(const PlatD3dRect &rect)
{
    scissor = rect;
    fixedDirty = true;
}

void GLExecutor::SetMaterial(const PlatD3dMaterial &given)
{
    material = given;
    Touch(G_LIGHTING);
}

void GLExecutor::SetTexture(uint32_t stage, uint32_t textureId)
{
    // Bound at the next draw: a texture set and cleared around each quad costs nothing
    // until something is drawn with it.
    if (stage == 0)
        boundTexture = textureId;
}

bool GLExecutor::ApplyState()
{
    GLsizei targetHeight = (GLsizei)parameters.backBufferHeight;
    if (fixedDirty)
    {
        fixedDirty = false;
        if (renderStates[PLAT_RS_ALPHABLENDENABLE])
        {
            gl.Enable(GL_BLEND);
            gl.BlendFunc(BlendFactor(renderStates[PLAT_RS_SRCBLEND]), BlendFactor(renderStates[PLAT_RS_DESTBLEND]));
        }
        else
            gl.Disable(GL_BLEND);
        if (renderStates[PLAT_RS_ZENABLE])
            gl.Enable(GL_DEPTH_TEST);
        else
            gl.Disable(GL_DEPTH_TEST);
        gl.DepthMask(renderStates[PLAT_RS_ZWRITEENABLE] ? GL_TRUE : GL_FALSE);
        uint32_t cull = renderStates[PLAT_RS_CULLMODE];
        if (cull == PLAT_CULL_CCW || cull == PLAT_CULL_CW)
        {
            // Front faces are clockwise on the screen.
            gl.Enable(GL_CULL_FACE);
            gl.CullFace(cull == PLAT_CULL_CCW ? GL_BACK : GL_FRONT);
        }
        else
            gl.Disable(GL_CULL_FACE);
        if (renderStates[PLAT_RS_SCISSORTESTENABLE])
        {
            gl.Enable(GL_SCISSOR_TEST);
            gl.Scissor(scissor.left, targetHeight - scissor.bottom, scissor.right - scissor.left,
                       scissor.bottom - scissor.top);
        }
        else
            gl.Disable(GL_SCISSOR_TEST);
        if (samples > 0)
        {
            if (renderStates[PLAT_RS_MULTISAMPLEANTIALIAS])
                gl.Enable(GL_MULTISAMPLE);
            else
                gl.Disable(GL_MULTISAMPLE);
        }
        gl.Viewport((GLint)viewport.x, targetHeight - (GLint)(viewport.y + viewport.height), (GLsizei)viewport.width,
                    (GLsizei)viewport.height);
        gl.DepthRange(viewport.minZ, viewport.maxZ);
    }
    if (samplerDirty)
    {
        samplerDirty = false;
        GLint mag = samplerStates[PLAT_SAMP_MAGFILTER] == PLAT_TEXF_LINEAR ? GL_LINEAR : GL_NEAREST;
        GLint min = samplerStates[PLAT_SAMP_MINFILTER] == PLAT_TEXF_LINEAR ? GL_LINEAR : GL_NEAREST;
        auto wrap = [](uint32_t mode) -> GLint {
            return mode == PLAT_TADDRESS_CLAMP ? GL_CLAMP_TO_EDGE
                   : mode == PLAT_TADDRESS_MIRROR ? GL_MIRRORED_REPEAT
                                                  : GL_REPEAT;
        };
        gl.SamplerParameteri(sampler, GL_TEXTURE_MAG_FILTER, mag);
        gl.SamplerParameteri(sampler, GL_TEXTURE_MIN_FILTER, min);
        gl.SamplerParameteri(sampler, GL_TEXTURE_WRAP_S, wrap(samplerStates[PLAT_SAMP_ADDRESSU]));
        gl.SamplerParameteri(sampler, GL_TEXTURE_WRAP_T, wrap(samplerStates[PLAT_SAMP_ADDRESSV]));
    }
    auto found = textures.find(boundTexture);
    GLuint name = found != textures.end() ? found->second.name : 0;
    if (name != glTexture)
    {
        gl.BindTexture(GL_TEXTURE_2D, name);
        glTexture = name;
    }
    if ((name != 0) != hasTexture)
    {
        hasTexture = name != 0;
        Touch(G_TEXTURE);
    }
    bool generalOnly = s_generalOnly;
    uint32_t key = MakeProgramKey(stageStates, hasTexture, renderStates[PLAT_RS_SPECULARENABLE] != 0,
                                  (vertexFlags & PLAT_FVF_XYZRHW) != 0, renderStates[PLAT_RS_LIGHTING] != 0);
    if (key != currentKey || generalOnly != currentGeneralOnly || !current)
    {
        Program *program = SelectProgram(generalOnly ? 0xFFFFFFFFu : key);
        if (!program)
            return false;
        if (program != current)
            gl.UseProgram(program->name);
        current = program;
        currentKey = key;
        currentGeneralOnly = generalOnly;
    }
    LoadUniforms(current);
    return true;
}

// The program for a key (0xFFFFFFFF: the general one), made at its first use: the
// compiler is slow under a software renderer, and a session needs a handful of keys. A
// specialised program that fails to build leaves its reason in the error text and the
// general program draws in its place; NULL when that fails too.
GLExecutor::Program *GLExecutor::SelectProgram(uint32_t key)
{
    if (key != 0xFFFFFFFFu)
    {
        auto found = specialised.find(key);
        if (found == specialised.end())
        {
            Program built = {};
            if (BuildProgram(&built, false, key))
                s_specialisedBuilt++;
            else
            {
                char reason[512];
                snprintf(reason, sizeof(reason), "%s", PlatD3dGetErrorText());
                PlatD3dSetErrorText("Program for state %05x failed, the general one draws instead: %s", key, reason);
            }
            found = specialised.emplace(key, built).first;
        }
        if (found->second.name)
            return &found->second;
    }
    if (!general.name && !generalFailed)
        generalFailed = !BuildProgram(&general, true, 0);
    return general.name ? &general : nullptr;
}

// Brings the program's uniforms up to date, group by group.
void GLExecutor::LoadUniforms(Program *program)
{
    const GLint *uniforms = program->uniforms;
    uint64_t *loaded = program->loaded;
    if (loaded[G_TRANSFORM] != changed[G_TRANSFORM])
    {
        loaded[G_TRANSFORM] = changed[G_TRANSFORM];
        if (combinedStale)
        {
            combinedStale = false;
            PlatD3dxMatrixMultiply(&combined, &world, &view);
            PlatD3dxMatrixMultiply(&combined, &combined, &projection);
        }
        // Row-vector matrices read column by column are their transposes: M^T p = (p M)^T.
        gl.UniformMatrix4fv(uniforms[U_TRANSFORM], 1, GL_FALSE, combined.m);
    }
    if (loaded[G_VIEWPORT] != changed[G_VIEWPORT])
    {
        loaded[G_VIEWPORT] = changed[G_VIEWPORT];
        float vp[4] = {(float)viewport.x, (float)viewport.y, (float)viewport.width, (float)viewport.height};
        gl.Uniform4fv(uniforms[U_VIEWPORT], 1, vp);
    }
    if (loaded[G_LIGHTING] != changed[G_LIGHTING])
    {
        loaded[G_LIGHTING] = changed[G_LIGHTING];
        // Each uniform on its own: the compiler drops those a program does not read
        // (GL ignores location -1), and which ones depends on the program.
        gl.Uniform1i(uniforms[U_LIGHTING], renderStates[PLAT_RS_LIGHTING] ? 1 : 0);
        gl.Uniform4fv(uniforms[U_MAT_DIFFUSE], 1, &material.diffuse.r);
        gl.Uniform4fv(uniforms[U_MAT_AMBIENT], 1, &material.ambient.r);
        gl.Uniform4fv(uniforms[U_MAT_EMISSIVE], 1, &material.emissive.r);
        float ambient[4];
        ColourToFloats(renderStates[PLAT_RS_AMBIENT], ambient);
        gl.Uniform4fv(uniforms[U_GLOBAL_AMBIENT], 1, ambient);
        gl.Uniform1i(uniforms[U_DIFFUSE_SOURCE], (GLint)renderStates[PLAT_RS_DIFFUSEMATERIALSOURCE]);
        gl.Uniform1i(uniforms[U_AMBIENT_SOURCE], (GLint)renderStates[PLAT_RS_AMBIENTMATERIALSOURCE]);
        gl.Uniform1i(uniforms[U_EMISSIVE_SOURCE], (GLint)renderStates[PLAT_RS_EMISSIVEMATERIALSOURCE]);
    }
    if (loaded[G_VERTEX] != changed[G_VERTEX])
    {
        loaded[G_VERTEX] = changed[G_VERTEX];
        gl.Uniform1i(uniforms[U_PRETRANSFORMED], (vertexFlags & PLAT_FVF_XYZRHW) ? 1 : 0);
        gl.Uniform1i(uniforms[U_HAS_DIFFUSE], (vertexFlags & PLAT_FVF_DIFFUSE) ? 1 : 0);
        gl.Uniform1i(uniforms[U_HAS_SPECULAR], (vertexFlags & PLAT_FVF_SPECULAR) ? 1 : 0);
    }
    if (loaded[G_STAGE] != changed[G_STAGE])
    {
        loaded[G_STAGE] = changed[G_STAGE];
        // Only the general program reads the stage from uniforms.
        if (program == &general)
        {
            gl.Uniform1i(uniforms[U_COLOUR_OP], (GLint)stageStates[PLAT_TSS_COLOROP]);
            gl.Uniform1i(uniforms[U_COLOUR_ARG1], (GLint)stageStates[PLAT_TSS_COLORARG1]);
            gl.Uniform1i(uniforms[U_COLOUR_ARG2], (GLint)stageStates[PLAT_TSS_COLORARG2]);
            gl.Uniform1i(uniforms[U_ALPHA_OP], (GLint)stageStates[PLAT_TSS_ALPHAOP]);
            gl.Uniform1i(uniforms[U_ALPHA_ARG1], (GLint)stageStates[PLAT_TSS_ALPHAARG1]);
            gl.Uniform1i(uniforms[U_ALPHA_ARG2], (GLint)stageStates[PLAT_TSS_ALPHAARG2]);
            gl.Uniform1i(uniforms[U_SPECULAR_ENABLE], renderStates[PLAT_RS_SPECULARENABLE] ? 1 : 0);
        }
    }
    if (loaded[G_TEXTURE] != changed[G_TEXTURE])
    {
        loaded[G_TEXTURE] = changed[G_TEXTURE];
        gl.Uniform1i(uniforms[U_HAS_TEXTURE], hasTexture ? 1 : 0);
    }
}

// ---- Drawing ---------------------------------------------------------------------------

void GLExecutor::Clear(const PlatD3dRect &rect, uint32_t flags, uint32_t colour, float z)
{
    if (!MakeCurrent())
        return;
    PlatD3dRect area = rect;
    if (renderStates[PLAT_RS_SCISSORTESTENABLE])
    {
        area.left = area.left > scissor.left ? area.left : scissor.left;
        area.top = area.top > scissor.top ? area.top : scissor.top;
        area.right = area.right < scissor.right ? area.right : scissor.right;
        area.bottom = area.bottom < scissor.bottom ? area.bottom : scissor.bottom;
        if (area.right <= area.left || area.bottom <= area.top)
            return;
    }
    GLbitfield mask = 0;
    float rgba[4];
    ColourToFloats(colour, rgba);
    if (flags & PLAT_CLEAR_TARGET)
    {
        gl.ClearColor(rgba[0], rgba[1], rgba[2], 1.0f);
        mask |= GL_COLOR_BUFFER_BIT;
    }
    if (flags & PLAT_CLEAR_ZBUFFER)
    {
        gl.ClearDepth(z);
        gl.DepthMask(GL_TRUE);
        mask |= GL_DEPTH_BUFFER_BIT;
    }
    if (flags & PLAT_CLEAR_STENCIL)
    {
        gl.ClearStencil(0);
        mask |= GL_STENCIL_BUFFER_BIT;
    }
    gl.Enable(GL_SCISSOR_TEST);
    gl.Scissor(area.left, (GLint)parameters.backBufferHeight - area.bottom, area.right - area.left,
               area.bottom - area.top);
    gl.Clear(mask);
    // The clear borrowed the scissor and depth mask.
    fixedDirty = true;
}

void GLExecutor::Draw(PlatD3dPrimitive primitive, uint32_t fvf, uint32_t stride, const void *vertices,
                      uint32_t vertexCount)
{
    if (!MakeCurrent() || vertexCount == 0)
        return;
    GLenum mode = primitive == PLAT_PT_TRIANGLELIST    ? GL_TRIANGLES
                  : primitive == PLAT_PT_TRIANGLESTRIP ? GL_TRIANGLE_STRIP
                                                       : GL_TRIANGLE_FAN;
    GLsizeiptr size = (GLsizeiptr)stride * vertexCount;
    if (size > kStreamSize || stride == 0)
        return;
    // Vertices go one after another into the stream, each batch starting on a whole
    // vertex so that one set of attribute pointers serves every batch of a layout. A full
    // stream is orphaned: the driver keeps the old storage for draws still queued, and
    // writes never wait for the graphics processor.
    GLintptr base = Stream(vertices, size, stride);
    if (base < 0)
        return;

    bool preTransformed = (fvf & PLAT_FVF_XYZRHW) != 0;
    uint32_t flags = fvf & (PLAT_FVF_XYZRHW | PLAT_FVF_DIFFUSE | PLAT_FVF_SPECULAR);
    if (flags != vertexFlags)
    {
        vertexFlags = flags;
        Touch(G_VERTEX);
    }
    if (!ApplyState())
        return;

    if (fvf != layoutFvf || stride != layoutStride)
    {
        layoutFvf = fvf;
        layoutStride = stride;
        uintptr_t offset = 0;
        gl.EnableVertexAttribArray(ATTR_POSITION);
        gl.VertexAttribPointer(ATTR_POSITION, preTransformed ? 4 : 3, GL_FLOAT, GL_FALSE, (GLsizei)stride,
                               (const void *)offset);
        offset += preTransformed ? 16 : 12;
        if (fvf & PLAT_FVF_NORMAL)
            offset += 12;
        if (fvf & PLAT_FVF_DIFFUSE)
        {
            gl.EnableVertexAttribArray(ATTR_DIFFUSE);
            gl.VertexAttribPointer(ATTR_DIFFUSE, GL_BGRA, GL_UNSIGNED_BYTE, GL_TRUE, (GLsizei)stride,
                                   (const void *)offset);
            offset += 4;
        }
        else
        {
            gl.DisableVertexAttribArray(ATTR_DIFFUSE);
            gl.VertexAttrib4f(ATTR_DIFFUSE, 1.0f, 1.0f, 1.0f, 1.0f);
        }
        if (fvf & PLAT_FVF_SPECULAR)
        {
            gl.EnableVertexAttribArray(ATTR_SPECULAR);
            gl.VertexAttribPointer(ATTR_SPECULAR, GL_BGRA, GL_UNSIGNED_BYTE, GL_TRUE, (GLsizei)stride,
                                   (const void *)offset);
            offset += 4;
        }
        else
        {
            gl.DisableVertexAttribArray(ATTR_SPECULAR);
            gl.VertexAttrib4f(ATTR_SPECULAR, 0.0f, 0.0f, 0.0f, 0.0f);
        }
        if (fvf & PLAT_FVF_TEX1)
        {
            gl.EnableVertexAttribArray(ATTR_TEXCOORD);
            gl.VertexAttribPointer(ATTR_TEXCOORD, 2, GL_FLOAT, GL_FALSE, (GLsizei)stride, (const void *)offset);
        }
        else
        {
            gl.DisableVertexAttribArray(ATTR_TEXCOORD);
            gl.VertexAttrib4f(ATTR_TEXCOORD, 0.0f, 0.0f, 0.0f, 1.0f);
        }
    }
    gl.DrawArrays(mode, (GLint)(base / stride), (GLsizei)vertexCount);
}

// Vertices into the stream, starting on a whole vertex; their offset, or -1.
GLintptr GLExecutor::Stream(const void *vertices, GLsizeiptr size, uint32_t stride)
{
    if (size > kStreamSize || stride == 0)
        return -1;
    GLsizeiptr base = (streamUsed + stride - 1) / stride * stride;
    if (base + size > kStreamSize)
    {
        gl.BufferData(GL_ARRAY_BUFFER, kStreamSize, nullptr, GL_STREAM_DRAW);
        base = 0;
    }
    void *target = gl.MapBufferRange(GL_ARRAY_BUFFER, base, size,
                                     GL_MAP_WRITE_BIT | GL_MAP_UNSYNCHRONIZED_BIT | GL_MAP_INVALIDATE_RANGE_BIT);
    if (!target)
        return -1;
    memcpy(target, vertices, (size_t)size);
    gl.UnmapBuffer(GL_ARRAY_BUFFER);
    streamUsed = base + size;
    return base;
}

uint32_t GLExecutor::CreateTexture(uint32_t width, uint32_t height, PlatD3dFormat format)
{
    if (!MakeCurrent())
        return 0;
    Texture texture = {0, width, height};
    gl.GenTextures(1, &texture.name);
    gl.BindTexture(GL_TEXTURE_2D, texture.name);
    gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
    if (format == PLAT_FMT_X8R8G8B8)
        gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_SWIZZLE_A, GL_ONE);
    gl.TexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, (GLsizei)width, (GLsizei)height, 0, GL_BGRA,
                  GL_UNSIGNED_INT_8_8_8_8_REV, nullptr);
    uint32_t id = ++lastTexture;
    textures[id] = texture;
    gl.BindTexture(GL_TEXTURE_2D, glTexture);
    return id;
}

void GLExecutor::UpdateTexture(uint32_t textureId, const void *pixels)
{
    auto found = textures.find(textureId);
    if (found == textures.end() || !MakeCurrent())
        return;
    gl.BindTexture(GL_TEXTURE_2D, found->second.name);
    gl.TexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, (GLsizei)found->second.width, (GLsizei)found->second.height, 0,
                  GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, pixels);
    gl.BindTexture(GL_TEXTURE_2D, glTexture);
}

void GLExecutor::DestroyTexture(uint32_t textureId)
{
    auto found = textures.find(textureId);
    if (found == textures.end() || !MakeCurrent())
        return;
    if (glTexture == found->second.name)
        glTexture = 0;
    gl.DeleteTextures(1, &found->second.name);
    textures.erase(found);
    if (boundTexture == textureId)
        boundTexture = 0;
}

void GLExecutor::IssueFence(uint32_t fenceId)
{
    if (!MakeCurrent())
        return;
    GLsync &sync = fences[fenceId];
    if (sync)
        gl.DeleteSync(sync);
    sync = gl.FenceSync(GL_SYNC_GPU_COMMANDS_COMPLETE, 0);
}

bool GLExecutor::IsFenceDone(uint32_t fenceId, bool flush)
{
    auto found = fences.find(fenceId);
    if (found == fences.end() || !found->second || !MakeCurrent())
        return true;
    GLenum status = gl.ClientWaitSync(found->second, flush ? GL_SYNC_FLUSH_COMMANDS_BIT : 0, 0);
    return status == GL_ALREADY_SIGNALED || status == GL_CONDITION_SATISFIED;
}

bool GLExecutor::WaitFence(uint32_t fenceId, double seconds)
{
    auto found = fences.find(fenceId);
    if (found == fences.end() || !found->second || !MakeCurrent())
        return true;
    GLuint64 timeout = seconds > 0.0 ? (GLuint64)(seconds * 1e9) : 0;
    GLenum status = gl.ClientWaitSync(found->second, GL_SYNC_FLUSH_COMMANDS_BIT, timeout);
    return status == GL_ALREADY_SIGNALED || status == GL_CONDITION_SATISFIED;
}

void GLExecutor::DestroyFence(uint32_t fenceId)
{
    auto found = fences.find(fenceId);
    if (found == fences.end())
        return;
    if (found->second && MakeCurrent())
        gl.DeleteSync(found->second);
    fences.erase(found);
}

// ---- The kept layer ---------------------------------------------------------------------

// The back buffer copied whole into a buffer of its own, made at the first copy. Only for
// a back buffer of one sample, drawn straight into the window or not.
bool GLExecutor::KeepLayer()
{
    if (samples > 0 || !MakeCurrent())
        return false;
    GLint width = (GLint)parameters.backBufferWidth, height = (GLint)parameters.backBufferHeight;
    GLuint target = direct ? 0 : frameBuffer;
    if (!layerFrameBuffer)
    {
        // A texture of the pixels' own byte order (blue, green, red, alpha): a software
        // renderer copies the back buffer into it row by row, with no conversion.
        gl.GenTextures(1, &layerTexture);
        gl.BindTexture(GL_TEXTURE_2D, layerTexture);
        gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
        gl.TexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, nullptr);
        gl.BindTexture(GL_TEXTURE_2D, glTexture);
        gl.GenFramebuffers(1, &layerFrameBuffer);
        gl.BindFramebuffer(GL_FRAMEBUFFER, layerFrameBuffer);
        gl.FramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, layerTexture, 0);
        bool complete = gl.CheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
        gl.BindFramebuffer(GL_FRAMEBUFFER, target);
        if (!complete)
        {
            GLuint names[] = {layerFrameBuffer};
            gl.DeleteFramebuffers(1, names);
            gl.DeleteTextures(1, &layerTexture);
            layerFrameBuffer = layerTexture = 0;
            return false;
        }
    }
    CopyPixels(target, layerFrameBuffer, {0, 0, width, height}, target);
    return gl.GetError() == GL_NO_ERROR;
}

// Rectangles of the kept layer back into the back buffer (rows counted from the top), in
// one draw of their pixels read one for one: a copy per rectangle would cost a software
// renderer a pass of its own, with its states set up and put back, for each.
bool GLExecutor::RestoreLayer(const PlatD3dRect *rects, uint32_t count)
{
    if (!layerFrameBuffer || !count || !MakeCurrent() || !BuildLayerProgram())
        return false;
    std::vector<float> &corners = layerCorners;
    corners.clear();
    for (uint32_t i = 0; i < count; i++)
    {
        const float l = (float)rects[i].left, t = (float)rects[i].top, r = (float)rects[i].right,
                    b = (float)rects[i].bottom;
        const float quad[12] = {l, t, r, t, l, b, r, t, r, b, l, b};
        corners.insert(corners.end(), quad, quad + 12);
    }
    GLintptr base = Stream(corners.data(), (GLsizeiptr)(corners.size() * sizeof(float)), 2 * sizeof(float));
    if (base < 0)
        return false;
    gl.Disable(GL_BLEND);
    gl.Disable(GL_DEPTH_TEST);
    gl.Disable(GL_CULL_FACE);
    gl.Disable(GL_SCISSOR_TEST);
    gl.UseProgram(layerProgram);
    const float size[4] = {(float)parameters.backBufferWidth, (float)parameters.backBufferHeight, 0.0f, 0.0f};
    gl.Uniform4fv(layerSizeUniform, 1, size);
    gl.BindTexture(GL_TEXTURE_2D, layerTexture);
    gl.EnableVertexAttribArray(ATTR_POSITION);
    gl.VertexAttribPointer(ATTR_POSITION, 2, GL_FLOAT, GL_FALSE, 2 * sizeof(float), nullptr);
    for (GLuint attribute : {ATTR_DIFFUSE, ATTR_SPECULAR, ATTR_TEXCOORD})
        gl.DisableVertexAttribArray(attribute);
    gl.DrawArrays(GL_TRIANGLES, (GLint)(base / (2 * sizeof(float))), (GLsizei)(count * 6));
    // The next draw sets its own program, texture, vertex layout and fixed states.
    current = nullptr;
    glTexture = layerTexture;
    layoutFvf = 0xFFFFFFFFu;
    fixedDirty = true;
    return true;
}

// The program of the layer's copy: each pixel takes the layer's pixel at its place.
bool GLExecutor::BuildLayerProgram()
{
    if (layerProgram)
        return true;
    static const char kVertex[] = "in vec2 aPosition;\n"
                                  "uniform vec4 uSize;\n"
                                  "void main()\n"
                                  "{\n"
                                  "    gl_Position = vec4(aPosition.x / uSize.x * 2.0 - 1.0, 1.0 - aPosition.y / uSize.y * 2.0, 0.0, 1.0);\n"
                                  "}\n";
    static const char kFragment[] = "uniform sampler2D uLayer;\n"
                                    "out vec4 fragColour;\n"
                                    "void main()\n"
                                    "{\n"
                                    "    fragColour = texelFetch(uLayer, ivec2(gl_FragCoord.xy), 0);\n"
                                    "}\n";
    GLuint vertex = CompileShader(GL_VERTEX_SHADER, "", kVertex);
    GLuint fragment = CompileShader(GL_FRAGMENT_SHADER, "", kFragment);
    GLuint program = vertex && fragment ? LinkProgram(vertex, fragment) : 0;
    if (vertex)
        gl.DeleteShader(vertex);
    if (fragment)
        gl.DeleteShader(fragment);
    if (!program)
        return false;
    layerProgram = program;
    layerSizeUniform = gl.GetUniformLocation(program, "uSize");
    gl.UseProgram(program);
    gl.Uniform1i(gl.GetUniformLocation(program, "uLayer"), 0);
    current = nullptr;
    return true;
}

// A rectangle of pixels (rows counted from the top) from one frame buffer to the same
// place in another; `after` is bound again afterwards.
void GLExecutor::CopyPixels(GLuint from, GLuint to, const PlatD3dRect &rect, GLuint after)
{
    GLint height = (GLint)parameters.backBufferHeight;
    gl.Disable(GL_SCISSOR_TEST);
    gl.BindFramebuffer(GL_READ_FRAMEBUFFER, from);
    gl.BindFramebuffer(GL_DRAW_FRAMEBUFFER, to);
    gl.BlitFramebuffer(rect.left, height - rect.bottom, rect.right, height - rect.top, rect.left,
                       height - rect.bottom, rect.right, height - rect.top, GL_COLOR_BUFFER_BIT, GL_NEAREST);
    gl.BindFramebuffer(GL_FRAMEBUFFER, after);
    // The copy borrowed the scissor.
    fixedDirty = true;
}

// ---- Present and read-back ------------------------------------------------------------

void GLExecutor::ResolveBackBuffer()
{
    CopyPixels(frameBuffer, resolveFrameBuffer,
               {0, 0, (int32_t)parameters.backBufferWidth, (int32_t)parameters.backBufferHeight}, frameBuffer);
}

bool GLExecutor::Present()
{
    if (!MakeCurrent())
        return false;
    if (ownsWindow)
    {
        // Nothing to show: an off-screen device only keeps its back buffer.
        gl.Flush();
        return true;
    }
    if (direct)
    {
        PlatWinGLSwapWindow(platWindow);
        return gl.GetError() == GL_NO_ERROR;
    }
    if (samples > 0)
        ResolveBackBuffer();
    int32_t drawableWidth = 0, drawableHeight = 0;
    PlatWinGetClientSize(platWindow, &drawableWidth, &drawableHeight);
    GLint width = (GLint)parameters.backBufferWidth, height = (GLint)parameters.backBufferHeight;
    gl.Disable(GL_SCISSOR_TEST);
    gl.BindFramebuffer(GL_READ_FRAMEBUFFER, samples > 0 ? resolveFrameBuffer : frameBuffer);
    gl.BindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    bool sameSize = drawableWidth == width && drawableHeight == height;
    gl.BlitFramebuffer(0, 0, width, height, 0, 0, drawableWidth, drawableHeight, GL_COLOR_BUFFER_BIT,
                       sameSize ? GL_NEAREST : GL_LINEAR);
    PlatWinGLSwapWindow(platWindow);
    gl.BindFramebuffer(GL_FRAMEBUFFER, frameBuffer);
    fixedDirty = true;
    return gl.GetError() == GL_NO_ERROR;
}

bool GLExecutor::ReadBackBuffer(uint32_t *pixels, uint32_t width, uint32_t height)
{
    if (!MakeCurrent() || width != parameters.backBufferWidth || height != parameters.backBufferHeight)
        return false;
    if (samples > 0)
        ResolveBackBuffer();
    std::vector<uint8_t> rgba((size_t)width * height * 4);
    gl.BindFramebuffer(GL_READ_FRAMEBUFFER, samples > 0 ? resolveFrameBuffer : frameBuffer);
    gl.ReadPixels(0, 0, (GLsizei)width, (GLsizei)height, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    gl.BindFramebuffer(GL_FRAMEBUFFER, frameBuffer);
    for (uint32_t y = 0; y < height; y++)
    {
        const uint8_t *row = rgba.data() + (size_t)(height - 1 - y) * width * 4;
        for (uint32_t x = 0; x < width; x++)
        {
            const uint8_t *p = row + x * 4;
            pixels[(size_t)y * width + x] = 0xFF000000u | ((uint32_t)p[0] << 16) | ((uint32_t)p[1] << 8) | p[2];
        }
    }
    return gl.GetError() == GL_NO_ERROR;
}

} // namespace

void PlatD3dGLSetGeneralOnly(bool on)
{
    s_generalOnly = on;
}

uint32_t PlatD3dGLGetSpecialisedCount()
{
    return s_specialisedBuilt;
}

PlatD3dExecutor *PlatD3dCreateGLExecutor(const PlatD3dPresentParameters *parameters)
{
    return new GLExecutor();
}
