-- Neovim's built-in client (0.7) on `nimbo lsp`: opens a script of the
-- sample project, types calls and checks what the client receives.
-- Environment: NIMBO_BIN (the nimbo tool), NIMBO_TEST_PROJECT, NIMBO_TEST_PROGRAMS.
local function fail(message)
  io.stdout:write("FAIL " .. message .. "\n")
  os.exit(1)
end

local project = os.getenv("NIMBO_TEST_PROJECT")
local id = vim.lsp.start_client({
  cmd = {os.getenv("NIMBO_BIN"), "lsp", "--programs", os.getenv("NIMBO_TEST_PROGRAMS")},
  root_dir = project,
  name = "nimbo",
  flags = {debounce_text_changes = 0},
})
if not id then fail("start_client") end
vim.cmd("edit " .. project .. "/main.nsc")
local buf = vim.api.nvim_get_current_buf()
vim.lsp.buf_attach_client(buf, id)
if not vim.wait(10000, function()
  local client = vim.lsp.get_client_by_id(id)
  return client ~= nil and client.initialized
end) then fail("the client was not initialised") end

-- Types one line at the end of the buffer and asks method with the
-- position at the end of that line (in the client's UTF-16 units).
local function ask(method, text, column)
  local line = vim.api.nvim_buf_line_count(buf)
  vim.api.nvim_buf_set_lines(buf, line, line, false, {text})
  local params = {
    textDocument = vim.lsp.util.make_text_document_params(buf),
    position = {line = line, character = column or vim.str_utfindex(text)},
  }
  local responses = vim.lsp.buf_request_sync(buf, method, params, 5000)
  local response = responses and responses[id]
  if not response or response.error then fail(method .. ": no answer for " .. text) end
  return response.result
end

local help = ask("textDocument/signatureHelp", "  é = StrMid(AddTax(1, 2), 2, ")
if not help or help.signatures[1].label ~= "StrMid(szText, nStart, nCount)" then fail("signature label") end
if help.activeParameter ~= 2 then fail("active parameter " .. tostring(help.activeParameter)) end
io.stdout:write("signature " .. help.signatures[1].label .. " parameter " .. help.activeParameter .. "\n")

help = ask("textDocument/signatureHelp", "  AddTax(n, ")
if not help or help.signatures[1].label ~= "AddTax(nCents, nRatePercent)" or help.activeParameter ~= 1 then
  fail("project function's signature")
end

local completion = ask("textDocument/completion", "  x = strtr")
local items = completion.items or completion
local labels = {}
for _, item in ipairs(items) do table.insert(labels, item.label) end
table.sort(labels)
if table.concat(labels, " ") ~= "StrTrim StrTrimLeft StrTrimRight" then fail("completion: " .. table.concat(labels, " ")) end
io.stdout:write("completion " .. table.concat(labels, " ") .. "\n")

local hover = ask("textDocument/hover", "  Sqrt(2)", 3)
local value = hover and hover.contents and hover.contents.value or ""
if not value:find("Sqrt(fValue)", 1, true) or not value:find("The square root.", 1, true) then fail("hover: " .. value) end
io.stdout:write("hover ok\n")

vim.lsp.stop_client(id)
vim.wait(5000, function() return vim.lsp.get_client_by_id(id) == nil end)
io.stdout:write("OK\n")
os.exit(0)
