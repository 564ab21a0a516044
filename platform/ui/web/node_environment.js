// Programs run under node (tests, benchmarks) see node's environment, as a
// native program sees its own.
Module['preRun'] = Module['preRun'] || [];
Module['preRun'].push(function() {
  if (typeof process === 'undefined') return;
  for (var name in process.env) ENV[name] = process.env[name];
});
