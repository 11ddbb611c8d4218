-- wrk script: posts distinct recordings to POST /api/runs. The recording
-- given after "--" has its "seed N" line replaced by a seed of its own for
-- every request (thread number * 10^8 + request number), so no two are
-- the same run; the names rotate within 16 characters. done() prints the
-- count of 201 answers, the verified submissions.
local threads = {}
created = 0  -- globals of each thread's state, read by done()
counter = 0

function setup(thread)
  thread:set("id", #threads + 1)
  table.insert(threads, thread)
end

function init(args)
  local file = assert(io.open(args[1], "rb"))
  local template = file:read("*a")
  file:close()
  prefix, suffix = template:match("^(.-\nseed )%d+(\n.*)$")
end

function request()
  counter = counter + 1
  local body = prefix .. (id * 100000000 + counter) .. suffix
  return wrk.format("POST", "/api/runs?name=bench" .. id .. "-" .. (counter % 1000), nil, body)
end

function response(status, headers, body)
  if status == 201 then
    created = created + 1
  end
end

function done(summary, latency, requests)
  local total = 0
  for _, thread in ipairs(threads) do
    total = total + thread:get("created")
  end
  io.write(string.format("verified: %d of %d in %.1f s\n", total, summary.requests,
                         summary.duration / 1e6))
end
