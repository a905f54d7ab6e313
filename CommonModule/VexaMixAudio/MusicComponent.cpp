#include "MusicComponent.h"

#include <algorithm>
#include <string>

MusicComponent::MusicComponent(NotifyCallback notify, void *userData, void *parentWindow)
    : Notify(notify), UserData(userData)
{
    if (parentWindow) {
        View = std::make_unique<CDetachedAudioView>();
        if (!View->CreateView(parentWindow))
            View.reset();
    }
}

MusicComponent::~MusicComponent()
{
    TearDown();
}

CMixElement *MusicComponent::Add(std::unique_ptr<CMixElement> element, bool byPath)
{
    std::lock_guard lock(Lock);
    if (Elements.size() >= MaxElements)
        return nullptr;
    element->Record.path[259] = 0;
    element->Record.id = NextId++;
    if (!element->Load(byPath))
        return nullptr;
    Elements.push_back(std::move(element));
    return Elements.back().get();
}

MusicElement *MusicComponent::AddElement(const char16_t *path)
{
    auto element = std::make_unique<CMixElement>();
    const size_t length = std::min<size_t>(std::char_traits<char16_t>::length(path), 259);
    std::copy_n(path, length, element->Record.path);
    CMixElement *added = Add(std::move(element), true);
    return added ? &added->Record : nullptr;
}

bool MusicComponent::AddElement(const MusicElement &record)
{
    auto element = std::make_unique<CMixElement>();
    element->Record = record;
    return Add(std::move(element), false) != nullptr;
}

void MusicComponent::DeleteElement(int32_t id)
{
    std::lock_guard lock(Lock);
    const auto found = std::find_if(Elements.begin(), Elements.end(), [id](const auto &e) { return e->Record.id == id; });
    if (found != Elements.end())
        Elements.erase(found);
}

bool MusicComponent::UpdateElement(int32_t id, const MusicElement &record)
{
    std::lock_guard lock(Lock);
    const auto found = std::find_if(Elements.begin(), Elements.end(), [id](const auto &e) { return e->Record.id == id; });
    if (found == Elements.end())
        return false;
    MusicElement &current = (*found)->Record;
    const int64_t fileLength = current.length != 0 ? current.length : record.length;
    if (record.clipStart + record.clipLength > fileLength || record.start < 0
        || record.fadeIn + record.fadeOut > record.clipLength)
        return false;
    current.clipLength = record.clipLength;
    current.clipStart = record.clipStart;
    current.fadeIn = record.fadeIn;
    current.fadeOut = record.fadeOut;
    current.start = record.start;
    current.volume = record.volume;
    return true;
}

void MusicComponent::TearDown()
{
    Player.reset();
    Job.reset();
    Engine.Stop();
}

int64_t MusicComponent::MixLengthLocked() const
{
    if (Elements.empty())
        return 0;
    int64_t end = INT64_MIN, first = INT64_MAX;
    for (const auto &element : Elements) {
        end = std::max(end, element->Start() + element->Span());
        first = std::min(first, element->Start());
    }
    return BlankValidate ? end : end - first;
}

int64_t MusicComponent::MixLength()
{
    std::lock_guard lock(Lock);
    return MixLengthLocked();
}

void MusicComponent::SetBlankValidate(bool on)
{
    std::lock_guard lock(Lock);
    BlankValidate = on;
}

void MusicComponent::SetMixFormat(int32_t rate, int32_t channels)
{
    if (rate <= 0 || channels <= 0)
        return; // a format without samples cannot be mixed
    std::lock_guard lock(Lock);
    MixRate = rate;
    MixChannels = channels;
}

void MusicComponent::StartEngine(int32_t rate, int32_t channels)
{
    Engine.Stop();
    std::vector<CMixElement *> order;
    int64_t length = 0, origin = 0;
    {
        std::lock_guard lock(Lock);
        if (rate == 0 || channels == 0) {
            rate = MixRate;
            channels = MixChannels;
        }
        std::stable_sort(Elements.begin(), Elements.end(),
                         [](const auto &a, const auto &b) { return a->Start() < b->Start(); });
        for (const auto &element : Elements) {
            element->Prepare(rate, channels);
            element->SeekTo(0);
            order.push_back(element.get());
        }
        length = MixLengthLocked();
        origin = BlankValidate || Elements.empty() ? 0 : Elements.front()->Start();
    }
    Engine.Start(std::move(order), int64_t(rate) * channels * 2, length, origin);
}

void MusicComponent::Play()
{
    if (!Player) {
        Job.reset();
        Player = std::make_unique<CAudioPlayer>(Engine, Notify, UserData);
        StartEngine(CAudioPlayer::Rate, CAudioPlayer::Channels);
    }
    Player->Play();
}

void MusicComponent::Pause()
{
    if (Player)
        Player->Pause();
}

bool MusicComponent::Seek(int64_t time)
{
    return Player && Player->Seek(time);
}

void MusicComponent::Stop()
{
    if (Player)
        Player->Stop();
}

void MusicComponent::StartMixToFile(const char16_t *path, int32_t bitRate, int32_t formatId)
{
    TearDown();
    StartEngine(0, 0);
    int32_t rate, channels;
    {
        std::lock_guard lock(Lock);
        rate = MixRate;
        channels = MixChannels;
    }
    Job = std::make_unique<CMixFileJob>(Engine, Notify, UserData, path, formatId, bitRate, rate, channels);
    Job->Start();
}

bool MusicComponent::CancelMixToFile()
{
    if (!Job)
        return false;
    Job->Cancel();
    return true;
}

void MusicComponent::StartPull()
{
    TearDown();
    PullPosition = 0;
    StartEngine(0, 0);
}

bool MusicComponent::NextPull(AudioFrame &frame)
{
    if (!Engine.TakeBlock(frame.data))
        return false;
    frame.size = BlockBytes;
    frame.pts = PullPosition * TicksPerSecond / Engine.BytesPerSecond();
    PullPosition += BlockBytes;
    return true;
}
