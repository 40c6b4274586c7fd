#include "decoder.h"

#include "texts.h"

#include <QFileInfo>
#include <atomic>
#include <cmath>
#include <gst/app/gstappsink.h>
#include <gst/audio/audio.h>
#include <gst/gst.h>
#include <memory>
#include <mutex>

namespace audio {

namespace {

constexpr GstClockTime kPollInterval = 100 * GST_MSECOND;

struct GstObjectUnref
{
    void operator()(gpointer object) const { gst_object_unref(object); }
};
using PipelinePtr = std::unique_ptr<GstElement, GstObjectUnref>;
using BusPtr = std::unique_ptr<GstBus, GstObjectUnref>;

struct SampleUnref
{
    void operator()(GstSample *sample) const { gst_sample_unref(sample); }
};
using SamplePtr = std::unique_ptr<GstSample, SampleUnref>;

// decodebin exposes its pads once it knows the streams; only the first audio stream is
// taken (uridecodebin exposes nothing else, see makePipeline).
void linkDecodedPad(GstElement *, GstPad *pad, gpointer converter)
{
    GstPad *sink = gst_element_get_static_pad(static_cast<GstElement *>(converter), "sink");
    if (!gst_pad_is_linked(sink))
        gst_pad_link(pad, sink);
    gst_object_unref(sink);
}

// A file without any sound (a picture, a silent film) would otherwise wait for ever.
void checkSoundFound(GstElement *, gpointer converter)
{
    auto *element = static_cast<GstElement *>(converter);
    GstPad *sink = gst_element_get_static_pad(element, "sink");
    if (!gst_pad_is_linked(sink)) {
        const QByteArray reason = AudioEngine::tr("the file holds no sound.").toUtf8();
        GError *error = g_error_new_literal(
            GST_STREAM_ERROR, GST_STREAM_ERROR_WRONG_TYPE, reason.constData());
        gst_element_post_message(
            element, gst_message_new_error(GST_OBJECT(element), error, nullptr));
        g_error_free(error);
    }
    gst_object_unref(sink);
}

GstCaps *outputCaps(const DecodeOptions &options)
{
    // mpg123 decodes to 16-bit whenever that is allowed, and audioconvert's general path
    // then cost a sixth of the decoding; 16-bit is taken as it comes and widened here.
    GstCaps *caps = gst_caps_from_string(
        "audio/x-raw, format=(string){ F32LE, S16LE }, layout=(string)interleaved");
    if (options.sampleRate > 0)
        gst_caps_set_simple(caps, "rate", G_TYPE_INT, options.sampleRate, nullptr);
    if (options.channels > 0)
        gst_caps_set_simple(caps, "channels", G_TYPE_INT, options.channels, nullptr);
    return caps;
}

// uridecodebin ! audioconvert ! audioresample ! appsink(F32LE/S16LE interleaved [rate, channels]).
// Converters whose formats already match pass the buffers through untouched.
PipelinePtr makePipeline(const QString &path, const DecodeOptions &options, GstElement **sink)
{
    PipelinePtr pipeline(gst_pipeline_new(nullptr));
    GstElement *source = gst_element_factory_make("uridecodebin", nullptr);
    GstElement *converter = gst_element_factory_make("audioconvert", nullptr);
    GstElement *resampler = gst_element_factory_make("audioresample", nullptr);
    *sink = gst_element_factory_make("appsink", nullptr);
    if (!source || !converter || !resampler || !*sink) {
        for (GstElement *element : { source, converter, resampler, *sink })
            if (element)
                gst_object_unref(element);
        return nullptr;
    }
    gchar *uri = gst_filename_to_uri(QFile::encodeName(path).constData(), nullptr);
    GstCaps *audioOnly = gst_caps_from_string("audio/x-raw");
    // Video and subtitles of a film are never exposed, so they are not decoded either.
    g_object_set(source, "uri", uri, "caps", audioOnly, "expose-all-streams", FALSE, nullptr);
    gst_caps_unref(audioOnly);
    g_free(uri);
    GstCaps *caps = outputCaps(options);
    g_object_set(*sink, "caps", caps, "sync", FALSE, "max-buffers", 16u, "enable-last-sample",
        FALSE, nullptr);
    gst_caps_unref(caps);
    gst_bin_add_many(GST_BIN(pipeline.get()), source, converter, resampler, *sink, nullptr);
    gst_element_link_many(converter, resampler, *sink, nullptr);
    g_signal_connect(source, "pad-added", G_CALLBACK(linkDecodedPad), converter);
    g_signal_connect(source, "no-more-pads", G_CALLBACK(checkSoundFound), converter);
    return pipeline;
}

// The first error on the bus, or an empty text.
QString busError(GstBus *bus)
{
    GstMessage *message = gst_bus_pop_filtered(bus, GST_MESSAGE_ERROR);
    if (!message)
        return {};
    GError *error = nullptr;
    gst_message_parse_error(message, &error, nullptr);
    const QString reason = QString::fromUtf8(error ? error->message : "");
    g_clear_error(&error);
    gst_message_unref(message);
    return reason;
}

class Decoding
{
public:
    Decoding(const QString &path, const DecodeOptions &options, const JobControl &control)
        : m_path(path)
        , m_options(options)
        , m_control(control)
    {
    }
    ~Decoding()
    {
        if (m_pipeline)
            gst_element_set_state(m_pipeline.get(), GST_STATE_NULL);
    }

    DecodeResult run(const ChunkConsumer &consume);

private:
    bool fail(const QString &reason);
    bool preroll();
    bool seekToPart();
    bool waitForEnd();
    // On GStreamer's streaming thread: chunks go to the consumer right there, since handing
    // each MP3 frame's buffer over to another thread cost as much CPU as decoding it.
    static GstFlowReturn onSample(GstAppSink *sink, gpointer self);
    // False when the consumer wants no more or the part has ended.
    bool deliver(GstSample *sample);
    void widen(const qint16 *samples, size_t count);

    QString m_path;
    DecodeOptions m_options;
    JobControl m_control;
    DecodeResult m_result;
    PipelinePtr m_pipeline;
    BusPtr m_bus;
    GstElement *m_sink = nullptr;
    std::vector<float> m_widened;
    const ChunkConsumer *m_consume = nullptr;
    std::atomic<bool> m_done { false };
    qint64 m_nextFrame = -1;
    gint64 m_durationNs = -1;
};

bool Decoding::fail(const QString &reason)
{
    m_result.ok = false;
    m_result.error
        = AudioEngine::tr("Cannot decode \"%1\": %2").arg(QFileInfo(m_path).fileName(), reason);
    return false;
}

DecodeResult Decoding::run(const ChunkConsumer &consume)
{
    QString reason;
    if (!ensureGStreamer(&reason)) {
        fail(reason);
        return m_result;
    }
    if (!QFileInfo(m_path).isFile()) {
        fail(AudioEngine::tr("the file does not exist."));
        return m_result;
    }
    m_pipeline = makePipeline(m_path, m_options, &m_sink);
    if (!m_pipeline) {
        fail(AudioEngine::tr("a GStreamer element is missing (gstreamer1.0-plugins-base)."));
        return m_result;
    }
    m_bus.reset(gst_element_get_bus(m_pipeline.get()));
    m_consume = &consume;
    GstAppSinkCallbacks callbacks {};
    callbacks.new_sample = &Decoding::onSample;
    gst_app_sink_set_callbacks(GST_APP_SINK(m_sink), &callbacks, this, nullptr);
    m_result.ok = preroll() && seekToPart() && waitForEnd();
    // Stopping joins the streaming thread, so nothing writes the result any more.
    gst_element_set_state(m_pipeline.get(), GST_STATE_NULL);
    return m_result;
}

bool Decoding::preroll()
{
    gst_element_set_state(m_pipeline.get(), GST_STATE_PAUSED);
    for (;;) {
        const GstStateChangeReturn state
            = gst_element_get_state(m_pipeline.get(), nullptr, nullptr, kPollInterval);
        if (state == GST_STATE_CHANGE_FAILURE) {
            const QString reason = busError(m_bus.get());
            return fail(
                reason.isEmpty() ? AudioEngine::tr("the format is not supported.") : reason);
        }
        if (state != GST_STATE_CHANGE_ASYNC)
            break;
        const QString reason = busError(m_bus.get());
        if (!reason.isEmpty())
            return fail(reason);
        if (m_control.cancelled()) {
            m_result.cancelled = true;
            return false;
        }
    }
    gint64 duration = 0;
    if (gst_element_query_duration(m_pipeline.get(), GST_FORMAT_TIME, &duration) && duration > 0) {
        m_durationNs = duration;
        m_result.durationSeconds = double(duration) / GST_SECOND;
    }
    return true;
}

bool Decoding::seekToPart()
{
    const bool fromStart = m_options.startSeconds <= 0;
    if (!fromStart) {
        const auto start = gint64(m_options.startSeconds * GST_SECOND);
        const auto flags = GstSeekFlags(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_ACCURATE);
        if (!gst_element_seek(m_pipeline.get(), 1.0, GST_FORMAT_TIME, flags, GST_SEEK_TYPE_SET,
                start, GST_SEEK_TYPE_NONE, GST_CLOCK_TIME_NONE))
            return fail(AudioEngine::tr("the file cannot be read from the middle."));
    }
    gst_element_set_state(m_pipeline.get(), GST_STATE_PLAYING);
    return true;
}

bool Decoding::waitForEnd()
{
    for (;;) {
        if (m_control.cancelled()) {
            m_result.cancelled = true;
            return false;
        }
        if (m_done)
            return true;
        GstMessage *message = gst_bus_timed_pop_filtered(
            m_bus.get(), kPollInterval, GstMessageType(GST_MESSAGE_ERROR | GST_MESSAGE_EOS));
        if (!message)
            continue;
        const bool ended = GST_MESSAGE_TYPE(message) == GST_MESSAGE_EOS;
        GError *error = nullptr;
        if (!ended)
            gst_message_parse_error(message, &error, nullptr);
        const QString reason = QString::fromUtf8(error ? error->message : "");
        g_clear_error(&error);
        gst_message_unref(message);
        return ended || fail(reason);
    }
}

GstFlowReturn Decoding::onSample(GstAppSink *sink, gpointer self)
{
    auto *decoding = static_cast<Decoding *>(self);
    SamplePtr sample(gst_app_sink_pull_sample(sink));
    if (decoding->m_done || decoding->m_control.cancelled() || !sample
        || !decoding->deliver(sample.get())) {
        decoding->m_done = true;
        return GST_FLOW_EOS;
    }
    return GST_FLOW_OK;
}

void Decoding::widen(const qint16 *samples, size_t count)
{
    m_widened.resize(count);
    for (size_t i = 0; i < count; ++i)
        m_widened[i] = float(samples[i]) * (1.0f / 32768.0f);
}

bool Decoding::deliver(GstSample *sample)
{
    GstAudioInfo info;
    GstBuffer *buffer = gst_sample_get_buffer(sample);
    if (!buffer || !gst_audio_info_from_caps(&info, gst_sample_get_caps(sample)))
        return true;
    PcmChunk chunk;
    chunk.format = { GST_AUDIO_INFO_RATE(&info), GST_AUDIO_INFO_CHANNELS(&info) };
    m_result.format = chunk.format;
    // The first chunk (and any after a gap) is placed by its time stamp in the file; the
    // rest follow on by count, so rounding never opens a gap between chunks.
    const GstClockTime pts = GST_BUFFER_PTS(buffer);
    if ((m_nextFrame < 0 || GST_BUFFER_IS_DISCONT(buffer)) && GST_CLOCK_TIME_IS_VALID(pts)) {
        const guint64 streamTime
            = gst_segment_to_stream_time(gst_sample_get_segment(sample), GST_FORMAT_TIME, pts);
        m_nextFrame
            = qint64(std::llround(double(streamTime) * chunk.format.sampleRate / GST_SECOND));
    }
    m_nextFrame = std::max<qint64>(m_nextFrame, 0);
    GstMapInfo map;
    if (!gst_buffer_map(buffer, &map, GST_MAP_READ))
        return true;
    chunk.samples = reinterpret_cast<const float *>(map.data);
    if (GST_AUDIO_INFO_FORMAT(&info) == GST_AUDIO_FORMAT_S16LE) {
        widen(reinterpret_cast<const qint16 *>(map.data), map.size / sizeof(qint16));
        chunk.samples = m_widened.data();
    }
    chunk.frames
        = qint64(map.size / size_t(GST_AUDIO_INFO_WIDTH(&info) / 8)) / chunk.format.channels;
    chunk.firstFrame = m_nextFrame;
    m_nextFrame += chunk.frames;

    // Decoders may hand out a little before the start of a part; nothing past its end.
    const auto rate = double(chunk.format.sampleRate);
    const qint64 start = qint64(std::llround(std::max(0.0, m_options.startSeconds) * rate));
    const qint64 end = m_options.endSeconds < 0 ? std::numeric_limits<qint64>::max()
                                                : qint64(std::llround(m_options.endSeconds * rate));
    const qint64 skip = std::clamp<qint64>(start - chunk.firstFrame, 0, chunk.frames);
    chunk.samples += skip * chunk.format.channels;
    chunk.firstFrame += skip;
    chunk.frames = std::clamp<qint64>(end - chunk.firstFrame, 0, chunk.frames - skip);
    const bool wanted = chunk.frames == 0 || (*m_consume)(chunk);
    gst_buffer_unmap(buffer, &map);

    if (m_control.progress && m_durationNs > 0)
        m_control.progress(
            std::min(1.0, double(m_nextFrame) / rate * GST_SECOND / double(m_durationNs)));
    return wanted && m_nextFrame < end;
}

} // namespace

bool ensureGStreamer(QString *error)
{
    static std::once_flag once;
    static QString failure;
    std::call_once(once, [] {
        GError *gerror = nullptr;
        // gst_init_check returns at once when Phonon's backend has already initialised it.
        if (!gst_init_check(nullptr, nullptr, &gerror))
            failure = AudioEngine::tr("GStreamer cannot start: %1")
                          .arg(QString::fromUtf8(gerror ? gerror->message : ""));
        g_clear_error(&gerror);
    });
    if (error)
        *error = failure;
    return failure.isEmpty();
}

DecodeResult decodeStream(const QString &path, const DecodeOptions &options,
    const ChunkConsumer &consume, const JobControl &control)
{
    return Decoding(path, options, control).run(consume);
}

DecodeResult decodeFile(
    const QString &path, const DecodeOptions &options, PcmBuffer *out, const JobControl &control)
{
    out->samples.clear();
    DecodeResult result = decodeStream(
        path, options,
        [out](const PcmChunk &chunk) {
            out->format = chunk.format;
            out->samples.insert(out->samples.end(), chunk.samples,
                chunk.samples + chunk.frames * chunk.format.channels);
            return true;
        },
        control);
    out->format = result.format;
    return result;
}

} // namespace audio
