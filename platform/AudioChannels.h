#pragma once
// Which play holds which mixer channel, and the hand-over of "finished" from SDL's audio thread
// to the main thread. Plays are known by tokens, never by pointers: a notice for a play that was
// stopped, or whose owner is gone, finds nothing and is dropped.
//
// Everything but the mixer's callback runs on the main thread.

#include <cstdint>
#include <functional>

class AudioChannels {
public:
  using Token = std::uint64_t;

  // After the mixer opened: hooks its finished callback for `count` channels.
  static void Start(int count);
  // Before the mixer closes: unhooks it and drops every pending notice.
  static void Finish();

  static Token NewToken();
  // Claims a channel that is idle both for the mixer and for us, so that a late notice of its
  // previous play cannot be taken for this one; -1 when every channel is busy.
  static int Claim(Token token, std::function<void()> onFinished);
  // Gives back a claimed channel whose play did not start.
  static void Unclaim(int channel);
  // The channel that token still plays on, or -1.
  static int ChannelOf(Token token);
  // No notice will reach the token's callback any more.
  static void Forget(Token token);
};
