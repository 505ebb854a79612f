#pragma once

#include "capture/platform/GraphObjects.h"
#include "capture/platform/gst/GstHandles.h"

#include <QMutex>
#include <atomic>
#include <memory>
#include <string>
#include <vector>

class GstFilter;

// A capture pipeline seen as a filter graph with its media control. Errors
// while streaming (a camera unplugged, a device failing) are reported with
// one "ERROR" line and end the delivery of frames; the program goes on.
class GstFilterGraph : public platform::FilterGraph,
                       public platform::MediaControl,
                       public std::enable_shared_from_this<GstFilterGraph> {
public:
    GstFilterGraph();
    ~GstFilterGraph() override;

    GstFilterGraph(const GstFilterGraph&) = delete;
    GstFilterGraph& operator=(const GstFilterGraph&) = delete;

    platform::Status addFilter(const std::shared_ptr<platform::Filter>& filter,
                               const std::u16string& name) override;
    platform::Status removeFilter(const std::shared_ptr<platform::Filter>& filter) override;
    platform::Status enumFilters(std::vector<std::shared_ptr<platform::Filter>>& filters) override;
    platform::Status disconnect(const std::shared_ptr<platform::Pin>& pin) override;
    platform::Status queryMediaControl(std::shared_ptr<platform::MediaControl>& control) override;
    platform::Status runWithoutClock() override;

    platform::Status run() override;
    platform::Status pause() override;
    platform::Status stop() override;
    std::string streamFailure() override;

    // Adds an element the graph builder inserts between the layer's filters.
    std::shared_ptr<GstFilter> addInsertedElement(const char* factory, const std::u16string& name);

private:
    static GstBusSyncReply onMessage(GstBus* bus, GstMessage* message, gpointer graph);
    void reportStreamFailure(GstMessage* message);
    platform::Status changeState(GstState state);
    void startFeeding();
    void stopFeeding();

    GstObjectPtr<GstElement> pipeline_;
    // In the order they were added; touched by the thread that sets the
    // device up or tears it down.
    std::vector<std::shared_ptr<GstFilter>> filters_;
    // Set from the streaming thread that meets an error; read by the grabber.
    std::shared_ptr<std::atomic<bool>> streamFailed_;
    // Guards failure_, written by the streaming thread that meets the end or
    // the error and read by the capture thread.
    QMutex failureLock_;
    std::string failure_;
};
