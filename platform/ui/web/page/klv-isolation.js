// A service worker for hosts that cannot send the two headers shared memory
// needs: it adds them to every response of the page's own folder.
self.addEventListener('install', function() { self.skipWaiting(); });
self.addEventListener('activate', function(e) { e.waitUntil(self.clients.claim()); });
self.addEventListener('fetch', function(e) {
  var request = e.request;
  if (request.cache === 'only-if-cached' && request.mode !== 'same-origin') return;
  e.respondWith(fetch(request).then(function(response) {
    if (response.status === 0) return response;
    var headers = new Headers(response.headers);
    headers.set('Cross-Origin-Opener-Policy', 'same-origin');
    headers.set('Cross-Origin-Embedder-Policy', 'require-corp');
    headers.set('Cross-Origin-Resource-Policy', 'same-origin');
    return new Response(response.body, {status: response.status, statusText: response.statusText, headers: headers});
  }));
});
