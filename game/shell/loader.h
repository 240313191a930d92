// The loader's threads and progress bar. Only the loading thread draws and presents (the display may
// belong to one thread only); a worker counts its step under the lock and the loading thread draws it,
// so every step draws its bar, in order: step n is (n - 1) x 420 / 41 pixels wide. A step is presented
// when a frame is due, so the loading never waits for the screen.
#pragma once
#include <thread>
#include <vector>

struct Surface;

enum WorkKind { WORK_TINT, WORK_GREY };

struct WorkerJob {
    Surface* surface;       // already loaded; nobody else touches it until the workers are joined
    WorkKind kind;
};

uint32_t TintImageThread(Surface* surface);     // dims the surface by TINTCOLOUR, then counts a step; 0
uint32_t GreyImageThread(Surface* surface);     // greys the surface, then counts a step; 0

// The workers of one load, each started only once its surface holds the picture.
class Workers {
public:
    Workers() = default;
    Workers(const Workers&) = delete;
    Workers& operator=(const Workers&) = delete;
    ~Workers();
    void Start(const WorkerJob& job);
    // Waits for every started worker, showing the steps they count meanwhile.
    void JoinAll();

private:
    std::vector<std::thread> threads;
};

void BeginLoadProgress();   // a new load: no step counted or shown
// Runs once the bar's first frame of a load is on the screen (start-up starts its song there, so that
// nothing delays the first picture); null for nothing.
extern void (*afterloadbar)();
