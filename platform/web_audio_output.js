// The page's audio context (platform/web_audio_output.cpp): made and
// resumed before the output opens, closed with it.
var webAudioOutput = {context: null, problem: "", startTime: 0, sampleRate: 0};
