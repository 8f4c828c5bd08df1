#include "AudioChannels.h"

#include <QMetaObject>
#include <QObject>
#include <QtGlobal>
#include <SDL_mixer.h>
#include <atomic>
#include <mutex>
#include <unordered_map>
#include <utility>
#include <vector>

namespace {
using Token = AudioChannels::Token;
using Waiting = std::unordered_map<Token, std::function<void()>>;

struct State {
  std::mutex mutex;
  // Per channel: the play on it, 0 when idle. Only the mixer's callback clears an entry.
  std::vector<Token> plays;
  // The callbacks of plays whose notice may still come.
  Waiting waiting;
  // Lives on the main thread for the rest of the process: a notice may be on its way to it
  // while the device closes, even from inside a notice it is delivering.
  QObject* receiver = nullptr;
  std::atomic<Token> lastToken{0};
};

// Never destroyed: the audio thread may still look at it while static objects go at exit.
State& Shared() {
  static State& state = *new State;
  return state;
}

// The token's callback, no longer waiting; empty when there is none.
std::function<void()> TakeWaiting(Token token) {
  std::lock_guard lock(Shared().mutex);
  const auto it = Shared().waiting.find(token);
  if (it == Shared().waiting.end()) return {};
  std::function<void()> callback = std::move(it->second);
  Shared().waiting.erase(it);
  return callback;
}

void Deliver(Token token) {
  const std::function<void()> callback = TakeWaiting(token);
  // The callback may delete whoever played the sound, so nothing of it is touched afterwards.
  try {
    if (callback) callback();
  } catch (...) {
    qWarning("A finished-sound handler raised an exception; it was dropped.");
  }
}

// On SDL's audio thread (or inside Mix_HaltChannel), with the mixer locked: only hands the token
// over to the main thread.
void SDLCALL OnChannelFinished(int channel) {
  Token token = 0;
  QObject* receiver = nullptr;
  {
    std::lock_guard lock(Shared().mutex);
    if (channel < 0 || channel >= int(Shared().plays.size())) return;
    token = std::exchange(Shared().plays[channel], 0);
    receiver = Shared().receiver;
  }
  if (token == 0 || !receiver) return;
  try {
    QMetaObject::invokeMethod(receiver, [token] { Deliver(token); }, Qt::QueuedConnection);
  } catch (...) {
    // Out of memory: the notice is lost, which is better than unwinding through the mixer.
  }
}
}  // namespace

void AudioChannels::Start(int count) {
  {
    std::lock_guard lock(Shared().mutex);
    Shared().plays.assign(std::size_t(qMax(count, 0)), 0);
    if (!Shared().receiver) Shared().receiver = new QObject;
  }
  Mix_ChannelFinished(OnChannelFinished);
}

void AudioChannels::Finish() {
  // Takes the mixer's lock, so no callback is running once it returns.
  Mix_ChannelFinished(nullptr);
  Waiting dropped;  // notices still queued find nothing
  std::lock_guard lock(Shared().mutex);
  Shared().plays.clear();
  dropped.swap(Shared().waiting);
}

AudioChannels::Token AudioChannels::NewToken() { return ++Shared().lastToken; }

int AudioChannels::Claim(Token token, std::function<void()> onFinished) {
  int count = 0;
  {
    std::lock_guard lock(Shared().mutex);
    count = int(Shared().plays.size());
  }
  for (int channel = 0; channel < count; ++channel) {
    // Asked outside our lock: the mixer calls us with its own lock held.
    if (Mix_Playing(channel)) continue;
    // An idle entry means the previous play on this channel has been reported, so its notice
    // cannot be taken for this one.
    std::lock_guard lock(Shared().mutex);
    if (Shared().plays[channel] != 0) continue;
    Shared().plays[channel] = token;
    if (onFinished) Shared().waiting.emplace(token, std::move(onFinished));
    return channel;
  }
  return -1;
}

void AudioChannels::Unclaim(int channel) {
  Token token = 0;
  {
    std::lock_guard lock(Shared().mutex);
    if (channel < 0 || channel >= int(Shared().plays.size())) return;
    token = std::exchange(Shared().plays[channel], 0);
  }
  Forget(token);
}

int AudioChannels::ChannelOf(Token token) {
  if (token == 0) return -1;
  std::lock_guard lock(Shared().mutex);
  for (int channel = 0; channel < int(Shared().plays.size()); ++channel)
    if (Shared().plays[channel] == token) return channel;
  return -1;
}

void AudioChannels::Forget(Token token) { TakeWaiting(token); }
