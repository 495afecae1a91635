#pragma once
// The OpenGL 1.1 types, constants and entry points that the OpenGL renderer uses, declared
// here so that no system GL header is needed. Every entry point is taken at run time.

#include <cstddef>
#include <cstdint>

using GLenum = unsigned int;
using GLboolean = unsigned char;
using GLbitfield = unsigned int;
using GLint = int;
using GLsizei = int;
using GLuint = unsigned int;
using GLubyte = unsigned char;
using GLfloat = float;
using GLclampf = float;
using GLdouble = double;
using GLclampd = double;



namespace gl
{
constexpr GLenum NO_ERROR = 0;
constexpr GLboolean FALSE = 0;
constexpr GLboolean TRUE = 1;

constexpr GLenum LINE_STRIP = 0x0003;
constexpr GLenum TRIANGLES = 0x0004;
constexpr GLenum TRIANGLE_STRIP = 0x0005;

constexpr GLenum NEVER = 0x0200;
constexpr GLenum LESS = 0x0201;
constexpr GLenum EQUAL = 0x0202;
constexpr GLenum LEQUAL = 0x0203;
constexpr GLenum GREATER = 0x0204;
constexpr GLenum GEQUAL = 0x0206;

constexpr GLenum ZERO = 0;
constexpr GLenum ONE = 1;
constexpr GLenum SRC_ALPHA = 0x0302;
constexpr GLenum ONE_MINUS_SRC_ALPHA = 0x0303;

constexpr GLenum CW = 0x0900;
constexpr GLenum BACK = 0x0405;

constexpr GLenum CULL_FACE = 0x0B44;
constexpr GLenum LIGHTING = 0x0B50;
constexpr GLenum FOG = 0x0B60;
constexpr GLenum DEPTH_TEST = 0x0B71;
constexpr GLenum STENCIL_TEST = 0x0B90;
constexpr GLenum NORMALIZE = 0x0BA1;
constexpr GLenum ALPHA_TEST = 0x0BC0;
constexpr GLenum DITHER = 0x0BD0;
constexpr GLenum BLEND = 0x0BE2;
constexpr GLenum TEXTURE_2D = 0x0DE1;
constexpr GLenum POLYGON_OFFSET_FILL = 0x8037;

constexpr GLenum PERSPECTIVE_CORRECTION_HINT = 0x0C50;
constexpr GLenum POINT_SMOOTH_HINT = 0x0C51;
constexpr GLenum LINE_SMOOTH_HINT = 0x0C52;
constexpr GLenum POLYGON_SMOOTH_HINT = 0x0C53;
constexpr GLenum FOG_HINT = 0x0C54;
constexpr GLenum FASTEST = 0x1101;

constexpr GLenum UNPACK_ALIGNMENT = 0x0CF5;
constexpr GLenum PACK_ALIGNMENT = 0x0D05;

constexpr GLenum UNSIGNED_BYTE = 0x1401;
constexpr GLenum UNSIGNED_SHORT = 0x1403;
constexpr GLenum UNSIGNED_INT = 0x1405;
constexpr GLenum FLOAT = 0x1406;

constexpr GLenum MODELVIEW = 0x1700;
constexpr GLenum PROJECTION = 0x1701;
constexpr GLenum TEXTURE = 0x1702;

constexpr GLenum RGBA = 0x1908;
constexpr GLenum SMOOTH = 0x1D01;
constexpr GLenum REPLACE = 0x1E01;

constexpr GLenum VENDOR = 0x1F00;
constexpr GLenum RENDERER = 0x1F01;
constexpr GLenum VERSION = 0x1F02;
constexpr GLenum EXTENSIONS = 0x1F03;

constexpr GLenum MODULATE = 0x2100;
constexpr GLenum DECAL = 0x2101;
constexpr GLenum TEXTURE_ENV_MODE = 0x2200;
constexpr GLenum TEXTURE_ENV = 0x2300;

constexpr GLenum NEAREST = 0x2600;
constexpr GLenum LINEAR = 0x2601;
constexpr GLenum TEXTURE_MAG_FILTER = 0x2800;
constexpr GLenum TEXTURE_MIN_FILTER = 0x2801;
constexpr GLenum TEXTURE_WRAP_S = 0x2802;
constexpr GLenum TEXTURE_WRAP_T = 0x2803;
constexpr GLenum CLAMP = 0x2900;
constexpr GLenum REPEAT = 0x2901;
constexpr GLenum CLAMP_TO_EDGE = 0x812F;

constexpr GLenum RGB5 = 0x8050;
constexpr GLenum RGBA4 = 0x8056;
constexpr GLenum RGB5_A1 = 0x8057;
constexpr GLenum RGBA8 = 0x8058;
constexpr GLenum BGRA = 0x80E1;

constexpr GLenum VERTEX_ARRAY = 0x8074;
constexpr GLenum NORMAL_ARRAY = 0x8075;
constexpr GLenum COLOR_ARRAY = 0x8076;
constexpr GLenum INDEX_ARRAY = 0x8077;
constexpr GLenum TEXTURE_COORD_ARRAY = 0x8078;
constexpr GLenum EDGE_FLAG_ARRAY = 0x8079;

constexpr GLenum TEXTURE0 = 0x84C0;
constexpr GLenum MAX_TEXTURE_UNITS = 0x84E2;

constexpr GLenum COMBINE = 0x8570;
constexpr GLenum COMBINE_RGB = 0x8571;
constexpr GLenum COMBINE_ALPHA = 0x8572;
constexpr GLenum PRIMARY_COLOR = 0x8577;
constexpr GLenum SOURCE0_RGB = 0x8580;
constexpr GLenum SOURCE0_ALPHA = 0x8588;
constexpr GLenum OPERAND0_RGB = 0x8590;
constexpr GLenum OPERAND0_ALPHA = 0x8598;
constexpr GLenum SRC_COLOR = 0x0300;
constexpr GLenum SRC_ALPHA_OPERAND = 0x0302;

constexpr GLbitfield DEPTH_BUFFER_BIT = 0x0100;
constexpr GLbitfield COLOR_BUFFER_BIT = 0x4000;
} // namespace gl

// Finds an entry point by name; null when the driver has none.
using GlProcResolver = void* (*)(const char* name);

// The entry points every OpenGL 1.1 driver has; all must be found for the renderer to open.
constexpr int GL_REQUIRED_ENTRY_POINTS = 73;
extern const char* const g_glRequiredNames[GL_REQUIRED_ENTRY_POINTS];

struct SGlApi
{
    void(*AlphaFunc)(GLenum, GLclampf) = nullptr;
    void(*ArrayElement)(GLint) = nullptr;
    void(*Begin)(GLenum) = nullptr;
    void(*BindTexture)(GLenum, GLuint) = nullptr;
    void(*BlendFunc)(GLenum, GLenum) = nullptr;
    void(*Clear)(GLbitfield) = nullptr;
    void(*ClearColor)(GLclampf, GLclampf, GLclampf, GLclampf) = nullptr;
    void(*ClearDepth)(GLclampd) = nullptr;
    void(*Color4ub)(GLubyte, GLubyte, GLubyte, GLubyte) = nullptr;
    void(*ColorPointer)(GLint, GLenum, GLsizei, const void*) = nullptr;
    void(*CopyTexSubImage2D)(GLenum, GLint, GLint, GLint, GLint, GLint, GLsizei, GLsizei) = nullptr;
    void(*CullFace)(GLenum) = nullptr;
    void(*DeleteTextures)(GLsizei, const GLuint*) = nullptr;
    void(*DepthFunc)(GLenum) = nullptr;
    void(*DepthMask)(GLboolean) = nullptr;
    void(*Disable)(GLenum) = nullptr;
    void(*DisableClientState)(GLenum) = nullptr;
    void(*DrawArrays)(GLenum, GLint, GLsizei) = nullptr;
    void(*DrawElements)(GLenum, GLsizei, GLenum, const void*) = nullptr;
    void(*Enable)(GLenum) = nullptr;
    void(*EnableClientState)(GLenum) = nullptr;
    void(*End)() = nullptr;
    void(*Finish)() = nullptr;
    void(*FrontFace)(GLenum) = nullptr;
    void(*Frustum)(GLdouble, GLdouble, GLdouble, GLdouble, GLdouble, GLdouble) = nullptr;
    void(*GenTextures)(GLsizei, GLuint*) = nullptr;
    GLenum(*GetError)() = nullptr;
    void(*GetIntegerv)(GLenum, GLint*) = nullptr;
    const GLubyte*(*GetString)(GLenum) = nullptr;
    void(*Hint)(GLenum, GLenum) = nullptr;
    void(*LoadIdentity)() = nullptr;
    void(*MatrixMode)(GLenum) = nullptr;
    void(*Ortho)(GLdouble, GLdouble, GLdouble, GLdouble, GLdouble, GLdouble) = nullptr;
    void(*PixelStorei)(GLenum, GLint) = nullptr;
    void(*ReadPixels)(GLint, GLint, GLsizei, GLsizei, GLenum, GLenum, void*) = nullptr;
    void(*ShadeModel)(GLenum) = nullptr;
    void(*TexCoord2f)(GLfloat, GLfloat) = nullptr;
    void(*TexCoordPointer)(GLint, GLenum, GLsizei, const void*) = nullptr;
    void(*TexEnvi)(GLenum, GLenum, GLint) = nullptr;
    void(*TexImage2D)(GLenum, GLint, GLint, GLsizei, GLsizei, GLint, GLenum, GLenum, const void*) = nullptr;
    void(*TexParameteri)(GLenum, GLenum, GLint) = nullptr;
    void(*Vertex4f)(GLfloat, GLfloat, GLfloat, GLfloat) = nullptr;
    void(*VertexPointer)(GLint, GLenum, GLsizei, const void*) = nullptr;
    void(*Viewport)(GLint, GLint, GLsizei, GLsizei) = nullptr;

    // Extension entry points; null when the extension is missing.
    void(*LockArraysEXT)(GLint, GLsizei) = nullptr;
    void(*UnlockArraysEXT)() = nullptr;
    void(*ActiveTextureARB)(GLenum) = nullptr;
    void(*ClientActiveTextureARB)(GLenum) = nullptr;
    void(*MultiTexCoord1fARB)(GLenum, GLfloat) = nullptr;
    void(*MultiTexCoord2fARB)(GLenum, GLfloat, GLfloat) = nullptr;
    void(*MultiTexCoord3fARB)(GLenum, GLfloat, GLfloat, GLfloat) = nullptr;
};

// Takes every required entry point through the resolver. False names the first one missing.
bool LoadGlEntryPoints(GlProcResolver resolver, SGlApi& api, const char** missing);

// What the driver's extension list offers the renderer.
struct SGlCapabilities
{
    bool compiledVertexArrays = false;
    bool bgra = false;
    bool textureCompression = false;
    bool multitexture = false;
    bool combine = false;
    bool clampToEdge = false;  // OpenGL 1.2 or later
    int textureUnits = 1;
};

// Scans a space-separated extension list (names compared without regard to case) and fills
// in the capability flags; calls note with a line for the log where one is due.
void ScanGlExtensions(const char* list, SGlCapabilities& caps, void (*note)(const char* line, void* user),
                      void* user);

// Versions whose first three characters are "1.1" or "1.2" count as older than 1.2 (a
// deliberately cautious test: such drivers get plain clamping).
bool IsGlVersionBefore12(const char* version);

// Mesa's software rasterisers, which the renderer accepts although they are not accelerated.
bool IsSoftwareGlRenderer(const char* rendererName);
