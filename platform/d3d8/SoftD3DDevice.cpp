// The device: state, resources, draw calls, presenting and device loss.

#include "platform/d3d8/SoftD3DDevice.h"
#include "platform/d3d8/SoftRasterizer.h"
#include "platform/d3d8/SoftSdl.h"
#include "platform/d3d8/SoftWorkerPool.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>
#include <new>
#include <thread>
#include <vector>

namespace
{
constexpr uint32_t kMaxSize = 4096;
constexpr uint32_t kVertexSize = sizeof(SSoftVertex);
// Below this many covered pixels a draw is not worth waking the workers for.
constexpr int64_t kParallelPixels = 8192;
constexpr size_t kMaxQueuedVertices = 1 << 20;

bool IsBackBufferFormat(ESoftFormat format)
{
    return format == ESoftFormat::X8R8G8B8 || format == ESoftFormat::A8R8G8B8 ||
           format == ESoftFormat::R5G6B5 || format == ESoftFormat::X1R5G5B5 ||
           format == ESoftFormat::A1R5G5B5;
}

bool HasAlpha(ESoftFormat format)
{
    return format == ESoftFormat::A8R8G8B8 || format == ESoftFormat::A1R5G5B5;
}

void SetDefaultStates(uint32_t* renderStates, uint32_t* stageStates)
{
    renderStates[SOFT_RS_ZENABLE] = 1;
    renderStates[SOFT_RS_ZWRITEENABLE] = 1;
    renderStates[SOFT_RS_ZFUNC] = SOFT_CMP_LESSEQUAL;
    renderStates[SOFT_RS_ALPHATESTENABLE] = 0;
    renderStates[SOFT_RS_ALPHAFUNC] = SOFT_CMP_ALWAYS;
    renderStates[SOFT_RS_ALPHAREF] = 0;
    renderStates[SOFT_RS_ALPHABLENDENABLE] = 0;
    renderStates[SOFT_RS_SRCBLEND] = SOFT_BLEND_ONE;
    renderStates[SOFT_RS_DESTBLEND] = SOFT_BLEND_ZERO;

    stageStates[SOFT_TSS_COLOROP] = SOFT_TOP_MODULATE;
    stageStates[SOFT_TSS_COLORARG1] = SOFT_TA_TEXTURE;
    stageStates[SOFT_TSS_COLORARG2] = SOFT_TA_CURRENT;
    stageStates[SOFT_TSS_ALPHAOP] = SOFT_TOP_SELECTARG1;
    stageStates[SOFT_TSS_ALPHAARG1] = SOFT_TA_TEXTURE;
    stageStates[SOFT_TSS_ALPHAARG2] = SOFT_TA_CURRENT;
    stageStates[SOFT_TSS_ADDRESSU] = SOFT_TADDRESS_WRAP;
    stageStates[SOFT_TSS_ADDRESSV] = SOFT_TADDRESS_WRAP;
    stageStates[SOFT_TSS_MAGFILTER] = SOFT_TEXF_POINT;
    stageStates[SOFT_TSS_MINFILTER] = SOFT_TEXF_POINT;
    stageStates[SOFT_TSS_MIPFILTER] = SOFT_TEXF_NONE;
}

bool IsValidRenderState(ESoftRenderState state, uint32_t value)
{
    switch (state)
    {
    case SOFT_RS_ZENABLE:
    case SOFT_RS_ZWRITEENABLE:
    case SOFT_RS_ALPHATESTENABLE:
    case SOFT_RS_ALPHABLENDENABLE:
        return value <= 1;
    case SOFT_RS_ZFUNC:
    case SOFT_RS_ALPHAFUNC:
        return value >= SOFT_CMP_LESS && value <= SOFT_CMP_ALWAYS;
    case SOFT_RS_ALPHAREF:
        return value <= 255;
    case SOFT_RS_SRCBLEND:
    case SOFT_RS_DESTBLEND:
        return value >= SOFT_BLEND_ZERO && value <= SOFT_BLEND_INVSRCALPHA;
    default:
        return false;
    }
}

bool IsValidStageState(ESoftStageState state, uint32_t value)
{
    switch (state)
    {
    case SOFT_TSS_COLOROP:
    case SOFT_TSS_ALPHAOP:
        return value >= SOFT_TOP_DISABLE && value <= SOFT_TOP_MODULATE;
    case SOFT_TSS_COLORARG1:
    case SOFT_TSS_COLORARG2:
    case SOFT_TSS_ALPHAARG1:
    case SOFT_TSS_ALPHAARG2:
        return value >= SOFT_TA_DIFFUSE && value <= SOFT_TA_TEXTURE;
    case SOFT_TSS_ADDRESSU:
    case SOFT_TSS_ADDRESSV:
        return value == SOFT_TADDRESS_WRAP || value == SOFT_TADDRESS_CLAMP;
    case SOFT_TSS_MAGFILTER:
    case SOFT_TSS_MINFILTER:
        return value == SOFT_TEXF_POINT || value == SOFT_TEXF_LINEAR;
    case SOFT_TSS_MIPFILTER:
        return value == SOFT_TEXF_NONE;
    default:
        return false;
    }
}

SRasterCombine MakeCombine(uint32_t op, uint32_t arg1, uint32_t arg2)
{
    SRasterCombine combine;
    switch (op)
    {
    case SOFT_TOP_SELECTARG1:
        combine.aIsTexture = arg1 == SOFT_TA_TEXTURE;
        break;
    case SOFT_TOP_SELECTARG2:
        combine.aIsTexture = arg2 == SOFT_TA_TEXTURE;
        break;
    case SOFT_TOP_MODULATE:
        combine.op = SRasterCombine::Modulate;
        combine.aIsTexture = arg1 == SOFT_TA_TEXTURE;
        combine.bIsTexture = arg2 == SOFT_TA_TEXTURE;
        break;
    default:  // disabled: the diffuse colour passes
        break;
    }
    return combine;
}

// Replaces a texture, buffer or other reference-counted binding, keeping one reference.
template <typename T>
void Rebind(T*& slot, T* object)
{
    if (object != nullptr)
        object->AddRef();
    if (slot != nullptr)
        slot->Release();
    slot = object;
}

// Gives a new resource to the caller, or drops it when its memory could not be had.
template <typename T>
bool HandOut(T* created, T** out)
{
    if (created == nullptr)
        return false;
    if (!created->IsValid())
    {
        created->Release();
        return false;
    }
    *out = created;
    return true;
}

// True when every one of `count` indices lies in [minIndex, minIndex + vertexCount).
bool IndicesInRange(const uint16_t* indices, uint32_t count, uint32_t minIndex, uint32_t vertexCount)
{
    for (uint32_t i = 0; i < count; ++i)
    {
        if (indices[i] < minIndex || indices[i] >= uint64_t{minIndex} + vertexCount)
            return false;
    }
    return true;
}

uint32_t VertexCountFor(ESoftPrimitive type, uint32_t primitives)
{
    switch (type)
    {
    case SOFT_PT_TRIANGLELIST:
        return primitives * 3;
    case SOFT_PT_TRIANGLESTRIP:
        return primitives + 2;
    case SOFT_PT_LINESTRIP:
        return primitives + 1;
    default:
        return 0;
    }
}

// One recorded call, drawn when the queue is flushed.
struct SQueuedCommand
{
    enum EKind : uint8_t
    {
        Triangles,
        Lines,
        Clear,
    };
    EKind kind = Triangles;
    SRasterState state;
    int clipX0 = 0;
    int clipY0 = 0;
    int clipX1 = 0;
    int clipY1 = 0;
    size_t first = 0;  // into the queued vertices
    size_t count = 0;  // triangles or segments
    uint32_t clearFlags = 0;
    uint32_t clearColour = 0;
    uint32_t clearDepth = 0;
};

// The calls of one band of rows: runs of primitives of one command each, in call order.
struct SBandRun
{
    uint32_t command;
    uint32_t begin;  // into SBandBin::primitives
    uint32_t end;
};

struct SBandBin
{
    std::vector<SBandRun> runs;
    std::vector<uint32_t> primitives;  // numbers within their command

    void Add(uint32_t command, uint32_t primitive)
    {
        if (runs.empty() || runs.back().command != command)
        {
            const uint32_t at = static_cast<uint32_t>(primitives.size());
            runs.push_back({command, at, at});
        }
        primitives.push_back(primitive);
        runs.back().end = static_cast<uint32_t>(primitives.size());
    }
};

struct SFrameJob
{
    const std::vector<SQueuedCommand>* commands = nullptr;
    const SRasterVertex* vertices = nullptr;
    SRasterTarget target;  // without clip; each command brings its own
    int bandCount = 1;     // 1: the calling thread draws every row at once
    const std::vector<SBandBin>* bins = nullptr;  // per band: what touches its rows
    // Bands are handed out one at a time to whichever worker asks next, so a worker that
    // the system keeps waiting holds up one band rather than a fixed share of the frame.
    std::atomic<int> nextBand{0};
};

void ClearRows(const SRasterTarget& target, const SQueuedCommand& command, const SRasterBands& bands)
{
    for (int y = command.clipY0; y < command.clipY1; ++y)
    {
        if (bands.count > 1 && ((y >> kBandShift) % bands.count) != bands.index)
            continue;
        const size_t row = static_cast<size_t>(y) * static_cast<size_t>(target.width);
        const size_t width = static_cast<size_t>(command.clipX1 - command.clipX0);
        if (command.clearFlags & SOFT_CLEAR_TARGET)
            std::fill_n(target.colour + row + command.clipX0, width, command.clearColour);
        if ((command.clearFlags & SOFT_CLEAR_ZBUFFER) && target.depth != nullptr)
            std::fill_n(target.depth + row + command.clipX0, width, command.clearDepth);
    }
}

void DrawBand(const SFrameJob& job, const SRasterBands& bands)
{
    for (const SQueuedCommand& command : *job.commands)
    {
        SRasterTarget target = job.target;
        target.clipX0 = command.clipX0;
        target.clipY0 = command.clipY0;
        target.clipX1 = command.clipX1;
        target.clipY1 = command.clipY1;
        switch (command.kind)
        {
        case SQueuedCommand::Clear:
            ClearRows(target, command, bands);
            break;
        case SQueuedCommand::Lines:
            RasterizeLines(target, command.state, job.vertices + command.first, command.count, bands);
            break;
        case SQueuedCommand::Triangles:
            RasterizeTriangles(target, command.state, job.vertices + command.first, command.count, bands);
            break;
        }
    }
}

// Draws one band from its bin, so that no band walks the primitives of the others.
void DrawBinnedBand(const SFrameJob& job, const SRasterBands& bands)
{
    const SBandBin& bin = (*job.bins)[static_cast<size_t>(bands.index)];
    for (const SBandRun& run : bin.runs)
    {
        const SQueuedCommand& command = (*job.commands)[run.command];
        SRasterTarget target = job.target;
        target.clipX0 = command.clipX0;
        target.clipY0 = command.clipY0;
        target.clipX1 = command.clipX1;
        target.clipY1 = command.clipY1;
        const uint32_t* which = bin.primitives.data() + run.begin;
        const size_t count = run.end - run.begin;
        switch (command.kind)
        {
        case SQueuedCommand::Clear:
            ClearRows(target, command, bands);
            break;
        case SQueuedCommand::Lines:
            RasterizeLines(target, command.state, job.vertices + command.first, count, bands, which);
            break;
        case SQueuedCommand::Triangles:
            RasterizeTriangles(target, command.state, job.vertices + command.first, count, bands, which);
            break;
        }
    }
}

void RunFrameJob(void* context, uint32_t)
{
    SFrameJob& job = *static_cast<SFrameJob*>(context);
    if (job.bandCount == 1)
    {
        DrawBand(job, SRasterBands{});
        return;
    }
    for (;;)
    {
        const int band = job.nextBand.fetch_add(1, std::memory_order_relaxed);
        if (band >= job.bandCount)
            return;
        DrawBinnedBand(job, SRasterBands{job.bandCount, band});
    }
}
}  // namespace

struct SSoftDeviceState
{
    SSoftAdapterProfile profile;
    SSoftPresentParams params;
    ESoftResult cooperativeLevel = ESoftResult::Ok;
    bool lossSimulated = false;
    bool inScene = false;

    std::vector<uint32_t> backBuffer;
    std::vector<uint32_t> frontBuffer;
    std::vector<uint32_t> depthBuffer;
    uint32_t depthBits = 16;
    SSoftViewport viewport;

    uint32_t renderStates[SOFT_RS_COUNT] = {};
    uint32_t stageStates[SOFT_TSS_COUNT] = {};
    uint32_t fvf = 0;
    CSoftTexture* texture = nullptr;
    CSoftVertexBuffer* stream = nullptr;
    uint32_t streamStride = 0;
    CSoftIndexBuffer* indices = nullptr;
    uint32_t baseVertex = 0;

    std::unique_ptr<CSoftWorkerPool> pool;
    ESpanLoops spanLoops = ESpanLoops::Best;
    // Calls recorded since the last flush: drawing them together lets every worker thread
    // take its rows of the whole frame at once instead of meeting the others at every call.
    std::vector<SQueuedCommand> commands;
    std::vector<SRasterVertex> queuedVertices;
    std::vector<CSoftTexture*> queuedTextures;  // one reference each until the flush
    std::vector<SBandBin> bins;                 // reused from flush to flush
    int64_t queuedPixels = 0;
    CSoftD3DDevice* owner = nullptr;

    ~SSoftDeviceState()
    {
        Flush();
        Rebind<CSoftTexture>(texture, nullptr);
        Rebind<CSoftVertexBuffer>(stream, nullptr);
        Rebind<CSoftIndexBuffer>(indices, nullptr);
    }

    bool CanDraw() const { return inScene && cooperativeLevel == ESoftResult::Ok; }

    SRasterTarget MakeTarget()
    {
        SRasterTarget target;
        target.colour = backBuffer.data();
        target.depth = depthBuffer.empty() ? nullptr : depthBuffer.data();
        target.width = static_cast<int>(params.backBufferWidth);
        target.height = static_cast<int>(params.backBufferHeight);
        target.depthBits = depthBits;
        return target;
    }

    SQueuedCommand MakeCommand(SQueuedCommand::EKind kind) const
    {
        SQueuedCommand command;
        command.kind = kind;
        command.clipX0 = static_cast<int>(viewport.x);
        command.clipY0 = static_cast<int>(viewport.y);
        command.clipX1 = static_cast<int>(viewport.x + viewport.width);
        command.clipY1 = static_cast<int>(viewport.y + viewport.height);
        return command;
    }

    // Sorts the queued calls into the bands of rows they may touch (a conservative range).
    void BinCommands(int bandCount)
    {
        bins.resize(static_cast<size_t>(bandCount));
        for (SBandBin& bin : bins)
        {
            bin.runs.clear();
            bin.primitives.clear();
        }
        const int lastRow = static_cast<int>(params.backBufferHeight) - 1;
        auto addRows = [&](uint32_t command, uint32_t primitive, int first, int last) {
            first = std::max(first, 0);
            last = std::min(last, lastRow);
            for (int band = first >> kBandShift; band <= (last >> kBandShift) && first <= last; ++band)
                bins[static_cast<size_t>(band)].Add(command, primitive);
        };
        for (size_t c = 0; c < commands.size(); ++c)
        {
            const SQueuedCommand& command = commands[c];
            const uint32_t index = static_cast<uint32_t>(c);
            if (command.kind == SQueuedCommand::Clear)
            {
                addRows(index, 0, command.clipY0, command.clipY1 - 1);
                continue;
            }
            const size_t stride = command.kind == SQueuedCommand::Lines ? 2 : 3;
            for (size_t p = 0; p < command.count; ++p)
            {
                const SRasterVertex* v = &queuedVertices[command.first + p * stride];
                float top = v[0].y;
                float bottom = v[0].y;
                for (size_t k = 1; k < stride; ++k)
                {
                    top = std::min(top, v[k].y);
                    bottom = std::max(bottom, v[k].y);
                }
                // Primitives without finite rows draw nothing.
                if (!(top > -1.0e9f && bottom < 1.0e9f))
                    continue;
                // Rows drawn have their centres (triangles) or their rounded positions (lines)
                // within the primitive's height, snapping moving it by less than a pixel.
                addRows(index, static_cast<uint32_t>(p), static_cast<int>(std::floor(top)),
                        static_cast<int>(std::ceil(bottom)));
            }
        }
    }

    // Draws everything queued, on all worker threads when there is enough of it.
    void Flush()
    {
        if (commands.empty())
            return;
        SFrameJob job;
        job.commands = &commands;
        job.vertices = queuedVertices.data();
        job.target = MakeTarget();
        if (pool && pool->GetThreadCount() > 1 && queuedPixels >= kParallelPixels)
        {
            job.bandCount = std::max(1, (job.target.height + (1 << kBandShift) - 1) >> kBandShift);
            BinCommands(job.bandCount);
            job.bins = &bins;
            pool->Run(&RunFrameJob, &job);
        }
        else
        {
            RunFrameJob(&job, 0);
        }
        commands.clear();
        queuedVertices.clear();
        queuedPixels = 0;
        for (CSoftTexture* queued : queuedTextures)
        {
            queued->SetQueuedBy(nullptr);
            queued->Release();
        }
        queuedTextures.clear();
    }

    SRasterState MakeRasterState() const
    {
        SRasterState state;
        state.spanLoops = spanLoops;
        const bool zEnable = renderStates[SOFT_RS_ZENABLE] != 0 && !depthBuffer.empty();
        state.zTest = zEnable;
        state.zWrite = zEnable && renderStates[SOFT_RS_ZWRITEENABLE] != 0;
        state.zFunc = renderStates[SOFT_RS_ZFUNC];
        state.alphaTest = renderStates[SOFT_RS_ALPHATESTENABLE] != 0;
        state.alphaFunc = renderStates[SOFT_RS_ALPHAFUNC];
        state.alphaRef = renderStates[SOFT_RS_ALPHAREF];
        state.blend = renderStates[SOFT_RS_ALPHABLENDENABLE] != 0;
        state.srcBlend = renderStates[SOFT_RS_SRCBLEND];
        state.dstBlend = renderStates[SOFT_RS_DESTBLEND];
        if (stageStates[SOFT_TSS_COLOROP] != SOFT_TOP_DISABLE)
        {
            state.colour = MakeCombine(stageStates[SOFT_TSS_COLOROP], stageStates[SOFT_TSS_COLORARG1],
                                       stageStates[SOFT_TSS_COLORARG2]);
            state.alpha = MakeCombine(stageStates[SOFT_TSS_ALPHAOP], stageStates[SOFT_TSS_ALPHAARG1],
                                      stageStates[SOFT_TSS_ALPHAARG2]);
        }
        const bool sampled = state.colour.aIsTexture || state.alpha.aIsTexture ||
                             (state.colour.op == SRasterCombine::Modulate && state.colour.bIsTexture) ||
                             (state.alpha.op == SRasterCombine::Modulate && state.alpha.bIsTexture);
        if (sampled && texture != nullptr && texture->IsValid())
        {
            state.texels = texture->GetTexels();
            state.texPitch = static_cast<int>(texture->GetTexelPitch());
            state.texBordered = true;
            state.texWidth = static_cast<int>(texture->GetWidth());
            state.texHeight = static_cast<int>(texture->GetHeight());
        }
        state.wrapU = stageStates[SOFT_TSS_ADDRESSU] == SOFT_TADDRESS_WRAP;
        state.wrapV = stageStates[SOFT_TSS_ADDRESSV] == SOFT_TADDRESS_WRAP;
        state.magLinear = stageStates[SOFT_TSS_MAGFILTER] == SOFT_TEXF_LINEAR;
        state.minLinear = stageStates[SOFT_TSS_MINFILTER] == SOFT_TEXF_LINEAR;
        return state;
    }

    // Rough count of covered pixels, to decide whether threads pay.
    int64_t EstimatePixels(size_t first, size_t stride) const
    {
        int64_t total = 0;
        for (size_t i = first; i + stride <= queuedVertices.size(); i += stride)
        {
            float minX = queuedVertices[i].x;
            float maxX = minX;
            float minY = queuedVertices[i].y;
            float maxY = minY;
            for (size_t k = 1; k < stride; ++k)
            {
                minX = std::min(minX, queuedVertices[i + k].x);
                maxX = std::max(maxX, queuedVertices[i + k].x);
                minY = std::min(minY, queuedVertices[i + k].y);
                maxY = std::max(maxY, queuedVertices[i + k].y);
            }
            const float w = std::min(maxX - minX, static_cast<float>(params.backBufferWidth));
            const float h = std::min(maxY - minY, static_cast<float>(params.backBufferHeight));
            if (w > 0 && h > 0)
                total += static_cast<int64_t>(w * h) / (stride == 2 ? 1 : 2);
            if (total >= kParallelPixels)
                return total;
        }
        return total;
    }

    void QueueClear(uint32_t flags, uint32_t colour, float z)
    {
        SQueuedCommand command = MakeCommand(SQueuedCommand::Clear);
        command.clearFlags = flags;
        command.clearColour = colour;
        command.clearDepth = QuantizeSoftDepth(z, depthBits);
        commands.push_back(command);
        queuedPixels += int64_t{viewport.width} * viewport.height;
    }

    void QueueDraw(bool lines, size_t first)
    {
        const size_t stride = lines ? 2 : 3;
        if (queuedVertices.size() == first)
            return;
        SQueuedCommand command = MakeCommand(lines ? SQueuedCommand::Lines : SQueuedCommand::Triangles);
        command.state = MakeRasterState();
        command.first = first;
        command.count = (queuedVertices.size() - first) / stride;
        commands.push_back(command);
        if (command.state.texels != nullptr && texture->GetQueuedBy() == nullptr)
        {
            texture->AddRef();
            texture->SetQueuedBy(owner);
            queuedTextures.push_back(texture);
        }
        if (queuedPixels < kParallelPixels)
            queuedPixels += EstimatePixels(first, stride);
        // Bounded memory: a long run of calls without presenting is drawn in pieces.
        if (queuedVertices.size() >= kMaxQueuedVertices)
            Flush();
    }

    static SRasterVertex ReadVertex(const uint8_t* data)
    {
        SSoftVertex in;
        std::memcpy(&in, data, kVertexSize);
        return SRasterVertex{in.x, in.y, in.z, in.colour, in.u, in.v};
    }

    // Turns `count` vertices, fetched through `vertexAt(i)`, into triangles or segments.
    template <typename Fetch>
    void Assemble(ESoftPrimitive type, uint32_t count, Fetch vertexAt)
    {
        std::vector<SRasterVertex>& primitives = queuedVertices;
        const size_t first = primitives.size();
        switch (type)
        {
        case SOFT_PT_TRIANGLELIST:
            for (uint32_t i = 0; i < count - count % 3; ++i)
                primitives.push_back(vertexAt(i));
            break;
        case SOFT_PT_TRIANGLESTRIP:
            for (uint32_t i = 0; i + 2 < count; ++i)
            {
                primitives.push_back(vertexAt(i));
                primitives.push_back(vertexAt(i + 1));
                primitives.push_back(vertexAt(i + 2));
            }
            break;
        case SOFT_PT_LINESTRIP:
            for (uint32_t i = 0; i + 1 < count; ++i)
            {
                primitives.push_back(vertexAt(i));
                primitives.push_back(vertexAt(i + 1));
            }
            break;
        }
        QueueDraw(type == SOFT_PT_LINESTRIP, first);
    }
};

CSoftD3DDevice::CSoftD3DDevice(const SSoftAdapterProfile& profile)
    : m_state(new SSoftDeviceState)
{
    m_state->profile = profile;
    m_state->owner = this;
    SetDefaultStates(m_state->renderStates, m_state->stageStates);
    SetWorkerThreads(0);
}

CSoftD3DDevice::~CSoftD3DDevice() = default;

bool CSoftD3DDevice::ApplyPresentParams(const SSoftPresentParams& params)
{
    SSoftDeviceState& s = *m_state;
    if (params.backBufferWidth == 0 || params.backBufferHeight == 0 ||
        params.backBufferWidth > kMaxSize || params.backBufferHeight > kMaxSize ||
        !IsBackBufferFormat(params.backBufferFormat))
        return false;
    if (params.windowed)
    {
        if (!IsBackBufferFormat(s.profile.desktop.format))
            return false;
    }
    else
    {
        const auto& modes = s.profile.modes;
        const bool found = std::any_of(modes.begin(), modes.end(), [&](const SSoftDisplayMode& m) {
            return m.width == params.backBufferWidth && m.height == params.backBufferHeight &&
                   m.format == params.backBufferFormat;
        });
        if (!found)
            return false;
    }
    const auto& depths = s.profile.depthFormats;
    if (params.autoDepthStencil &&
        std::find(depths.begin(), depths.end(), params.depthFormat) == depths.end())
        return false;

    s.Flush();
    const size_t pixels = static_cast<size_t>(params.backBufferWidth) * params.backBufferHeight;
    s.params = params;
    s.backBuffer.assign(pixels, 0);
    s.frontBuffer.assign(pixels, 0);
    s.depthBuffer.clear();
    if (params.autoDepthStencil)
    {
        s.depthBits = params.depthFormat == ESoftFormat::D16 ? 16 : 24;
        s.depthBuffer.assign(pixels, QuantizeSoftDepth(1.0f, s.depthBits));
    }
    s.viewport = SSoftViewport{};
    s.viewport.width = params.backBufferWidth;
    s.viewport.height = params.backBufferHeight;
    s.inScene = false;
    s.cooperativeLevel = ESoftResult::Ok;
    s.lossSimulated = false;
    SetDefaultStates(s.renderStates, s.stageStates);
    Rebind<CSoftTexture>(s.texture, nullptr);
    Rebind<CSoftVertexBuffer>(s.stream, nullptr);
    Rebind<CSoftIndexBuffer>(s.indices, nullptr);
    return true;
}

ESoftResult CSoftD3DDevice::TestCooperativeLevel()
{
    SSoftDeviceState& s = *m_state;
    if (s.cooperativeLevel == ESoftResult::DeviceLost && !s.lossSimulated &&
        !IsSdlWindowMinimized(s.params.window))
        s.cooperativeLevel = ESoftResult::DeviceNotReset;
    return s.cooperativeLevel;
}

ESoftResult CSoftD3DDevice::Reset(const SSoftPresentParams& params)
{
    const ESoftResult level = TestCooperativeLevel();
    if (level == ESoftResult::DeviceLost)
        return level;
    return ApplyPresentParams(params) ? ESoftResult::Ok : ESoftResult::InvalidCall;
}

ESoftResult CSoftD3DDevice::Present()
{
    SSoftDeviceState& s = *m_state;
    // A full-screen display loses the device while it is minimised, as a display mode does.
    if (s.cooperativeLevel == ESoftResult::Ok && !s.params.windowed &&
        IsSdlWindowMinimized(s.params.window))
        s.cooperativeLevel = ESoftResult::DeviceLost;
    s.Flush();
    if (s.cooperativeLevel != ESoftResult::Ok)
        return ESoftResult::DeviceLost;
    // The swap discards the back buffer: it now holds an older frame, as after a flip.
    s.frontBuffer.swap(s.backBuffer);
    if (s.params.window != nullptr)
        PresentToSdlWindow(s.params.window, s.frontBuffer.data(),
                           static_cast<int>(s.params.backBufferWidth),
                           static_cast<int>(s.params.backBufferHeight));
    return ESoftResult::Ok;
}

void CSoftD3DDevice::GetDeviceCaps(SSoftCaps& caps) const
{
    caps.maxTextureBlendStages = m_state->profile.textureStages;
    caps.maxSimultaneousTextures = 1;
    caps.maxTextureWidth = kMaxSize;
    caps.maxTextureHeight = kMaxSize;
}

bool CSoftD3DDevice::BeginScene()
{
    if (m_state->inScene)
        return false;
    m_state->inScene = true;
    return true;
}

bool CSoftD3DDevice::EndScene()
{
    if (!m_state->inScene)
        return false;
    m_state->inScene = false;
    return true;
}

bool CSoftD3DDevice::Clear(uint32_t flags, uint32_t colour, float z)
{
    SSoftDeviceState& s = *m_state;
    if (s.cooperativeLevel == ESoftResult::Ok && (flags & (SOFT_CLEAR_TARGET | SOFT_CLEAR_ZBUFFER)) != 0)
        s.QueueClear(flags, colour, z);
    return true;
}

bool CSoftD3DDevice::SetViewport(const SSoftViewport& viewport)
{
    SSoftDeviceState& s = *m_state;
    if (viewport.width == 0 || viewport.height == 0 ||
        viewport.x + viewport.width > s.params.backBufferWidth ||
        viewport.y + viewport.height > s.params.backBufferHeight ||
        viewport.x >= s.params.backBufferWidth || viewport.y >= s.params.backBufferHeight)
        return false;
    s.viewport = viewport;
    return true;
}

void CSoftD3DDevice::GetViewport(SSoftViewport& viewport) const
{
    viewport = m_state->viewport;
}

bool CSoftD3DDevice::SetRenderState(ESoftRenderState state, uint32_t value)
{
    if (!IsValidRenderState(state, value))
        return false;
    m_state->renderStates[state] = value;
    return true;
}

uint32_t CSoftD3DDevice::GetRenderState(ESoftRenderState state) const
{
    return state < SOFT_RS_COUNT ? m_state->renderStates[state] : 0;
}

bool CSoftD3DDevice::SetTextureStageState(uint32_t stage, ESoftStageState state, uint32_t value)
{
    if (stage > 0)
        return stage < 8 && (state == SOFT_TSS_COLOROP || state == SOFT_TSS_ALPHAOP) &&
               value == SOFT_TOP_DISABLE;
    if (!IsValidStageState(state, value))
        return false;
    m_state->stageStates[state] = value;
    return true;
}

uint32_t CSoftD3DDevice::GetTextureStageState(uint32_t stage, ESoftStageState state) const
{
    if (stage > 0)
        return (state == SOFT_TSS_COLOROP || state == SOFT_TSS_ALPHAOP) ? uint32_t{SOFT_TOP_DISABLE} : 0u;
    return state < SOFT_TSS_COUNT ? m_state->stageStates[state] : 0;
}

bool CSoftD3DDevice::SetTexture(uint32_t stage, CSoftTexture* texture)
{
    if (stage != 0)
        return texture == nullptr;
    Rebind(m_state->texture, texture);
    return true;
}

bool CSoftD3DDevice::SetVertexFormat(uint32_t fvf)
{
    if (fvf != SOFT_FVF_SCREEN)
        return false;
    m_state->fvf = fvf;
    return true;
}

bool CSoftD3DDevice::SetStreamSource(CSoftVertexBuffer* buffer, uint32_t stride)
{
    if (buffer != nullptr && stride < kVertexSize)
        return false;
    Rebind(m_state->stream, buffer);
    m_state->streamStride = stride;
    return true;
}

bool CSoftD3DDevice::SetIndices(CSoftIndexBuffer* buffer, uint32_t baseVertexIndex)
{
    Rebind(m_state->indices, buffer);
    m_state->baseVertex = baseVertexIndex;
    return true;
}

bool CSoftD3DDevice::DrawPrimitive(ESoftPrimitive type, uint32_t startVertex,
                                   uint32_t primitiveCount)
{
    SSoftDeviceState& s = *m_state;
    const uint32_t count = VertexCountFor(type, primitiveCount);
    if (count == 0 || primitiveCount == 0 || s.fvf != SOFT_FVF_SCREEN || s.stream == nullptr ||
        s.stream->IsLocked())
        return false;
    const uint64_t end = (uint64_t{startVertex} + count - 1) * s.streamStride + kVertexSize;
    if (end > s.stream->GetSize())
        return false;
    if (!s.CanDraw())
        return true;
    const uint8_t* data = s.stream->GetData() + static_cast<size_t>(startVertex) * s.streamStride;
    const uint32_t stride = s.streamStride;
    s.Assemble(type, count, [&](uint32_t i) { return SSoftDeviceState::ReadVertex(data + size_t{i} * stride); });
    return true;
}

bool CSoftD3DDevice::DrawIndexedPrimitive(ESoftPrimitive type, uint32_t minIndex,
                                          uint32_t vertexCount, uint32_t startIndex,
                                          uint32_t primitiveCount)
{
    SSoftDeviceState& s = *m_state;
    const uint32_t count = VertexCountFor(type, primitiveCount);
    if (count == 0 || primitiveCount == 0 || vertexCount == 0 || s.fvf != SOFT_FVF_SCREEN ||
        s.stream == nullptr || s.indices == nullptr || s.stream->IsLocked() || s.indices->IsLocked())
        return false;
    if (uint64_t{startIndex} + count > s.indices->GetIndexCount())
        return false;
    const uint64_t lastVertex = uint64_t{s.baseVertex} + minIndex + vertexCount - 1;
    if (lastVertex * s.streamStride + kVertexSize > s.stream->GetSize())
        return false;
    const uint16_t* indices = s.indices->GetIndices() + startIndex;
    if (!IndicesInRange(indices, count, minIndex, vertexCount))
        return false;
    if (!s.CanDraw())
        return true;
    const uint8_t* data = s.stream->GetData() + static_cast<size_t>(s.baseVertex) * s.streamStride;
    const uint32_t stride = s.streamStride;
    s.Assemble(type, count, [&](uint32_t i) {
        return SSoftDeviceState::ReadVertex(data + size_t{indices[i]} * stride);
    });
    return true;
}

bool CSoftD3DDevice::DrawPrimitiveUP(ESoftPrimitive type, uint32_t primitiveCount,
                                     const void* vertices, uint32_t stride)
{
    SSoftDeviceState& s = *m_state;
    const uint32_t count = VertexCountFor(type, primitiveCount);
    if (count == 0 || primitiveCount == 0 || vertices == nullptr || stride < kVertexSize ||
        s.fvf != SOFT_FVF_SCREEN)
        return false;
    if (!s.CanDraw())
        return true;
    const uint8_t* data = static_cast<const uint8_t*>(vertices);
    s.Assemble(type, count, [&](uint32_t i) { return SSoftDeviceState::ReadVertex(data + size_t{i} * stride); });
    return true;
}

bool CSoftD3DDevice::DrawIndexedPrimitiveUP(ESoftPrimitive type, uint32_t minIndex,
                                            uint32_t vertexCount, uint32_t primitiveCount,
                                            const uint16_t* indices, const void* vertices,
                                            uint32_t stride)
{
    SSoftDeviceState& s = *m_state;
    const uint32_t count = VertexCountFor(type, primitiveCount);
    if (count == 0 || primitiveCount == 0 || vertexCount == 0 || indices == nullptr ||
        vertices == nullptr || stride < kVertexSize || s.fvf != SOFT_FVF_SCREEN)
        return false;
    if (!IndicesInRange(indices, count, minIndex, vertexCount))
        return false;
    if (!s.CanDraw())
        return true;
    const uint8_t* data = static_cast<const uint8_t*>(vertices);
    s.Assemble(type, count, [&](uint32_t i) {
        return SSoftDeviceState::ReadVertex(data + size_t{indices[i]} * stride);
    });
    return true;
}

bool CSoftD3DDevice::CreateTexture(uint32_t width, uint32_t height, ESoftFormat format,
                                   CSoftTexture** texture)
{
    if (texture == nullptr)
        return false;
    *texture = nullptr;
    const auto& formats = m_state->profile.textureFormats;
    if (width == 0 || height == 0 || width > kMaxSize || height > kMaxSize ||
        std::find(formats.begin(), formats.end(), format) == formats.end())
        return false;
    return HandOut(new (std::nothrow) CSoftTexture(format, width, height), texture);
}

bool CSoftD3DDevice::CreateVertexBuffer(uint32_t sizeBytes, CSoftVertexBuffer** buffer)
{
    if (buffer == nullptr)
        return false;
    *buffer = nullptr;
    if (sizeBytes == 0)
        return false;
    return HandOut(new (std::nothrow) CSoftVertexBuffer(sizeBytes), buffer);
}

bool CSoftD3DDevice::CreateIndexBuffer(uint32_t sizeBytes, CSoftIndexBuffer** buffer)
{
    if (buffer == nullptr)
        return false;
    *buffer = nullptr;
    if (sizeBytes < 2)
        return false;
    return HandOut(new (std::nothrow) CSoftIndexBuffer(sizeBytes), buffer);
}

bool CSoftD3DDevice::CreateImageSurface(uint32_t width, uint32_t height, ESoftFormat format,
                                        CSoftSurface** surface)
{
    if (surface == nullptr)
        return false;
    *surface = nullptr;
    if (width == 0 || height == 0 || width > kMaxSize || height > kMaxSize ||
        format != ESoftFormat::A8R8G8B8)
        return false;
    return HandOut(new (std::nothrow) CSoftSurface(width, height), surface);
}

namespace
{
bool CopyFrame(const std::vector<uint32_t>& frame, const SSoftPresentParams& params,
               CSoftSurface* destination)
{
    if (destination == nullptr)
        return false;
    SSoftSurfaceDesc desc;
    destination->GetDesc(desc);
    if (desc.width != params.backBufferWidth || desc.height != params.backBufferHeight)
        return false;
    uint32_t* out = destination->GetPixels();
    const uint32_t forcedAlpha = HasAlpha(params.backBufferFormat) ? 0 : 0xFF000000u;
    for (size_t i = 0; i < frame.size(); ++i)
        out[i] = frame[i] | forcedAlpha;
    return true;
}
}  // namespace

bool CSoftD3DDevice::GetFrontBuffer(CSoftSurface* destination)
{
    return CopyFrame(m_state->frontBuffer, m_state->params, destination);
}

bool CSoftD3DDevice::GetBackBuffer(CSoftSurface* destination)
{
    m_state->Flush();
    return CopyFrame(m_state->backBuffer, m_state->params, destination);
}

void CSoftD3DDevice::SetWorkerThreads(uint32_t count)
{
    if (count == 0)
        count = std::max(1u, std::thread::hardware_concurrency());
    count = std::min(count, 64u);
    if (m_state->pool && m_state->pool->GetThreadCount() == count)
        return;
    m_state->Flush();
    m_state->pool.reset();
    m_state->pool.reset(new CSoftWorkerPool(count));
}

void CSoftD3DDevice::SetSpanLoops(ESpanLoops loops)
{
    m_state->Flush();
    m_state->spanLoops = loops;
}

uint32_t CSoftD3DDevice::GetWorkerThreads() const
{
    return m_state->pool ? m_state->pool->GetThreadCount() : 1;
}

void CSoftD3DDevice::SimulateLoss(ESoftResult level)
{
    SSoftDeviceState& s = *m_state;
    s.cooperativeLevel = level;
    s.lossSimulated = level != ESoftResult::Ok;
}

void CSoftD3DDevice::FlushQueuedDraws()
{
    m_state->Flush();
}

const SSoftPresentParams& CSoftD3DDevice::GetPresentParams() const
{
    return m_state->params;
}
