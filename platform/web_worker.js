// The page's block worker (platform/web_worker.cpp): the Worker, and where
// the parts of its blocks go.
var webWorker = {worker: null, destinations: []};
