// Surface events and the list of handlers a drawing surface broadcasts them to.
#pragma once

#include <functional>
#include <vector>

namespace ad {

enum TAdSurfaceEvent { seInitialize = 0, seInitialized = 1, seFinalize = 2, seBeginScene = 3, seEndScene = 4 };

class TAdSurfaceEventList {
public:
    using Handler = std::function<void(TAdSurfaceEvent)>;

    // Registers a handler; the returned id removes it again.
    int Add(Handler handler) {
        handlers_.push_back({nextId_, std::move(handler)});
        return nextId_++;
    }
    void Remove(int id) {
        for (auto it = handlers_.begin(); it != handlers_.end(); ++it)
            if (it->id == id) {
                handlers_.erase(it);
                return;
            }
    }
    size_t Count() const { return handlers_.size(); }

    // Hands the event to every handler, the last registered first. A handler may remove itself or
    // others while this runs; removed handlers are not called afterwards.
    void Notify(TAdSurfaceEvent event) {
        std::vector<int> ids;
        ids.reserve(handlers_.size());
        for (const Entry& entry : handlers_) ids.push_back(entry.id);
        for (auto id = ids.rbegin(); id != ids.rend(); ++id)
            for (const Entry& entry : handlers_)
                if (entry.id == *id) {
                    Handler handler = entry.handler; // the entry may go away during the call
                    handler(event);
                    break;
                }
    }

private:
    struct Entry {
        int id;
        Handler handler;
    };
    std::vector<Entry> handlers_;
    int nextId_ = 1;
};

} // namespace ad
