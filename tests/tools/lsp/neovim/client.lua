-- Neovim 0.7 as a user meets `nimbo lsp`: the configuration block of the
-- README, run as it stands there (only its two /path/to/ placeholders
-- filled in), then keys typed in a script of the sample project: Ctrl+X
-- Ctrl+O, "(" and ",", K, gd, gr and <F2>. Run from the project's folder (the block
-- takes it as the root).
-- Environment: NIMBO_BIN (the nimbo tool), NIMBO_README, NIMBO_TEST_PROGRAMS.
-- Each report on a line of its own (the editor writes its mode messages
-- to the same output without line breaks).
local function say(message) io.stdout:write("\n" .. message .. "\n") end
local function fail(message)
  say("FAIL " .. message)
  os.exit(1)
end

-- The README's Neovim block: the first lua block after its "**Neovim**" line.
local readme = io.open(os.getenv("NIMBO_README")):read("*a")
local block = readme:match("%*%*Neovim%*%*.-```lua\n(.-)```")
if not block then fail("no Neovim block in the README") end
block = block:gsub("/path/to/nimbo", os.getenv("NIMBO_BIN"), 1)
block = block:gsub("/path/to/Programs", os.getenv("NIMBO_TEST_PROGRAMS"), 1)
local chunk, err = loadstring(block, "README.md")
if not chunk then fail("the README's block: " .. err) end
chunk()

-- The steps run in a coroutine that sleeps on timers, so that the editor's
-- main loop reads the typed keys and the server's answers meanwhile.
local co
local function sleep(ms)
  vim.defer_fn(function()
    local ok, message = coroutine.resume(co)
    if not ok then fail(tostring(message)) end
  end, ms)
  coroutine.yield()
end
local function wait_for(what, predicate)
  for _ = 1, 500 do
    local ok, value = pcall(predicate)
    if ok and value then return value end
    sleep(20)
  end
  fail("timed out waiting for " .. what)
end
local function type_keys(keys)
  vim.api.nvim_feedkeys(vim.api.nvim_replace_termcodes(keys, true, false, true), "mt", false)
end
-- The text of the floating window open now, if any.
local function float_text()
  for _, win in ipairs(vim.api.nvim_list_wins()) do
    if vim.api.nvim_win_get_config(win).relative ~= "" then
      return table.concat(vim.api.nvim_buf_get_lines(vim.api.nvim_win_get_buf(win), 0, -1, false), "\n"), win
    end
  end
end
local function ask(method, position)
  local params = {textDocument = vim.lsp.util.make_text_document_params(0), position = position}
  local responses = vim.lsp.buf_request_sync(0, method, params, 5000)
  local response = responses and responses[nimbo_client]
  if not response or response.error then fail(method .. ": no answer") end
  return response.result
end

local function ask_document(method, params)
  params.textDocument = vim.lsp.util.make_text_document_params(0)
  local responses = vim.lsp.buf_request_sync(0, method, params, 5000)
  local response = responses and responses[nimbo_client]
  if not response or response.error then fail(method .. ": no answer") end
  return response.result
end

-- References (gr) and rename (<F2>) with the README's keys, across the
-- project's scripts, two of them open with unsaved edits; a built-in is
-- not renamed and the editor says why. Buffers with changes are left
-- hidden ('hidden', as most users set it), since rename edits several.
local function references_and_rename()
  vim.o.hidden = true
  local errors = {}
  local notify = vim.notify
  vim.notify = function(message, level, opts)
    if level == vim.log.levels.ERROR then table.insert(errors, message) end
    return notify(message, level, opts)
  end
  local function cursor_on(file, row, word)
    if vim.fn.expand("%:t") ~= file then vim.cmd("edit " .. file) end
    local column = vim.api.nvim_buf_get_lines(0, row - 1, row, true)[1]:find(word, 1, true)
    if not column then fail(word .. " not on " .. file .. ":" .. row) end
    vim.api.nvim_win_set_cursor(0, {row, column})
  end
  local function references(what)
    vim.fn.setqflist({}, "r")
    type_keys("gr")
    local places = wait_for("the references of " .. what, function()
      local items = vim.fn.getqflist()
      if #items == 0 then return nil end
      local places = {}
      for _, item in ipairs(items) do
        table.insert(places, vim.fn.fnamemodify(vim.fn.bufname(item.bufnr), ":t") .. ":" .. item.lnum)
      end
      table.sort(places)
      return table.concat(places, " ")
    end)
    vim.cmd("cclose")
    say("references " .. what .. " " .. places)
  end
  local rename
  for _, mapping in ipairs(vim.api.nvim_buf_get_keymap(0, "n")) do
    if mapping.lhs == "<F2>" then rename = mapping.callback end
  end
  if not rename then fail("no <F2> mapping for rename") end

  -- Declarations, the definition and calls; the comment above FormatMoney
  -- in money.nsc and the text in strings do not count.
  cursor_on("orders.nsc", 36, "FormatMoney")
  references("FormatMoney")

  -- The prompt's answer given directly (rename(name) is what <F2> calls).
  cursor_on("orders.nsc", 18, "CountOpenOrders")
  rename("CountPending")
  wait_for("the rename", function()
    return vim.fn.getbufline(vim.fn.bufnr("main.nsc"), 22)[1]:find("CountPending(aOrders)", 1, true) and
      vim.fn.getbufline(vim.fn.bufnr("orders.nsc"), 18)[1]:find("CountPending(aOrders)", 1, true)
  end)
  -- The edited, unsaved buffers are what the server answers from now,
  -- once Neovim has sent their changes (it holds them back 150 ms, and
  -- sends only the current buffer's before a request).
  sleep(400)
  references("CountPending")

  cursor_on("orders.nsc", 36, "Print")
  rename("Show")
  local refusal = wait_for("the refusal", function() return errors[#errors] end)
  if vim.fn.getbufline(vim.fn.bufnr("orders.nsc"), 36)[1]:find("Show", 1, true) then fail("a built-in was renamed") end
  say("refused " .. refusal)
  vim.notify = notify
end

-- A quick fix with the README's <F4> (the first action, the preferred one,
-- picked from the menu); then the semantic tokens and inlay hints, which
-- Neovim 0.7 does not show by itself, through its request function.
local function editor_features()
  local function mapping(key)
    for _, map in ipairs(vim.api.nvim_buf_get_keymap(0, "n")) do
      if map.lhs == key then return map.callback end
    end
    fail("no " .. key .. " mapping")
  end
  type_keys("Go  StrTrimm(g_strTitle);<Esc>")
  -- (Neovim indents the new line as the one above.)
  local row = wait_for("the typed line", function()
    return vim.api.nvim_get_current_line():match("^%s*StrTrimm%(g_strTitle%);$") and vim.fn.line(".")
  end)
  wait_for("the unknown name's diagnostic", function()
    for _, diagnostic in ipairs(vim.diagnostic.get(0, {lnum = row - 1})) do
      if diagnostic.message:find("StrTrimm", 1, true) then return true end
    end
  end)
  vim.api.nvim_win_set_cursor(0, {row, (vim.api.nvim_get_current_line():find("StrTrimm", 1, true))})
  local select = vim.ui.select
  local offered
  vim.ui.select = function(items, opts, on_choice)
    offered = opts.format_item(items[1])
    on_choice(items[1], 1)
  end
  mapping("<F4>")()
  wait_for("the quick fix", function() return vim.api.nvim_get_current_line():match("^%s*StrTrim%(g_strTitle%);$") end)
  vim.ui.select = select
  say("quick fix " .. offered)

  -- Semantic tokens: five numbers a token, relative to the one before.
  local result = ask_document("textDocument/semanticTokens/full", {})
  local legend = vim.lsp.get_client_by_id(nimbo_client).server_capabilities.semanticTokensProvider.legend
  local lines = vim.api.nvim_buf_get_lines(0, 0, -1, true)
  local found = {}
  local line, start = 0, 0
  for i = 1, #result.data, 5 do
    local d = result.data
    if d[i] > 0 then line, start = line + d[i], d[i + 1] else start = start + d[i + 1] end
    local text = lines[line + 1]:sub(start + 1, start + d[i + 2])
    local modifiers = {}
    for bit, name in ipairs(legend.tokenModifiers) do
      if math.floor(d[i + 4] / 2 ^ (bit - 1)) % 2 == 1 then table.insert(modifiers, name) end
    end
    found[text] = found[text] or legend.tokenTypes[d[i + 3] + 1] .. (#modifiers > 0 and "." .. table.concat(modifiers, ".") or "")
  end
  say("semantic tokens ShowBanner " .. tostring(found["ShowBanner"]) .. ", Print " .. tostring(found["Print"]) ..
      ", function " .. tostring(found["function"]) .. ", \"orders.txt\" " .. tostring(found['"orders.txt"']))

  -- Inlay hints: the parameter's name before LoadOrders' argument.
  local hints = ask_document("textDocument/inlayHint",
    {range = {start = {line = 0, character = 0}, ["end"] = {line = #lines, character = 0}}})
  for _, hint in ipairs(hints) do
    local text = lines[hint.position.line + 1]
    if text:find("LoadOrders(", 1, true) and text:sub(hint.position.character + 1):find('^"orders.txt"') then
      say("inlay hint " .. hint.label .. " before \"orders.txt\"")
    end
  end
end

local function main()
  vim.cmd("edit main.nsc")
  wait_for("the client", function() return vim.lsp.get_client_by_id(nimbo_client).initialized end)

  -- A diagnostic, as vim.diagnostic holds it: main.nsc defines AskYesNo,
  -- which the built-in of the name hides.
  local hidden = wait_for("a diagnostic", function()
    for _, diagnostic in ipairs(vim.diagnostic.get(0)) do
      if diagnostic.message:find("AskYesNo(szQuestion)", 1, true) then return diagnostic end
    end
  end)
  local code = hidden.user_data and hidden.user_data.lsp and hidden.user_data.lsp.code
  if hidden.severity ~= vim.diagnostic.severity.WARN then fail("diagnostic: " .. vim.inspect(hidden)) end
  say("diagnostic " .. (hidden.lnum + 1) .. " warning " .. tostring(code))

  -- A closed script's finding (the block turns workspaceDiagnostics on):
  -- money.nsc, not opened yet, declares Unused, which nothing defines.
  local closed = wait_for("a closed script's diagnostic", function()
    for _, diagnostic in ipairs(vim.diagnostic.get(vim.fn.bufnr(vim.fn.fnamemodify("money.nsc", ":p")))) do
      if diagnostic.message:find("Unused is declared", 1, true) then return diagnostic end
    end
  end)
  say("closed script money.nsc:" .. (closed.lnum + 1))

  -- Completion: Ctrl+X Ctrl+O in insert mode.
  if vim.bo.omnifunc ~= "v:lua.vim.lsp.omnifunc" then fail("omnifunc: " .. vim.bo.omnifunc) end
  type_keys("Go  x = StrTr<C-x><C-o>")
  local items = wait_for("the completion menu", function()
    local items = vim.fn.complete_info({"items"}).items
    return #items > 0 and items
  end)
  local labels = {}
  for _, item in ipairs(items) do table.insert(labels, item.word) end
  table.sort(labels)
  if table.concat(labels, " ") ~= "StrTrim StrTrimLeft StrTrimRight" then fail("completion: " .. table.concat(labels, " ")) end
  say("completion " .. table.concat(labels, " "))
  type_keys("<C-e><Esc>")

  -- Signature help: typing "(" and "," shows the call's prototype.
  type_keys("o  \195\169 = StrMid(AddTax(")
  wait_for("the signature after (", function()
    local shown = float_text()
    return shown and shown:find("AddTax(nCents, nRatePercent)", 1, true) and shown
  end)
  local _, first = float_text()
  type_keys("1, 2), 2,")
  wait_for("the signature after ,", function()
    local shown, win = float_text()
    return win ~= first and shown and shown:find("StrMid(szText, nStart, nCount)", 1, true)
  end)
  local line = vim.api.nvim_get_current_line()
  local help = ask("textDocument/signatureHelp", {line = vim.fn.line(".") - 1, character = vim.str_utfindex(line)})
  if help.activeParameter ~= 2 then fail("active parameter " .. tostring(help.activeParameter)) end
  say("signature " .. help.signatures[1].label .. " parameter " .. help.activeParameter)
  -- An argument past the last parameter: Neovim marks none.
  type_keys(" 3,")
  wait_for("the typing", function() return vim.api.nvim_get_current_line():sub(-3) == " 3," end)
  line = vim.api.nvim_get_current_line()
  help = ask("textDocument/signatureHelp", {line = vim.fn.line(".") - 1, character = vim.str_utfindex(line)})
  local _, marked = vim.lsp.util.convert_signature_help_to_markdown_lines(help, "nimbo", {"(", ","})
  if help.signatures[1].label ~= "StrMid(szText, nStart, nCount)" or help.activeParameter ~= nil or marked ~= nil then
    fail("past the last parameter: " .. vim.inspect(help))
  end
  say("past the last parameter: none marked")
  type_keys("<Esc>")

  -- K: the prototype of the function under the cursor.
  vim.api.nvim_win_set_cursor(0, {17, 20})  -- LoadOrders("orders.txt")
  type_keys("K")
  wait_for("hover", function()
    local shown = float_text()
    return shown and shown:find("LoadOrders(strFile)", 1, true)
  end)
  say("hover ok")
  type_keys("<Esc>")

  editor_features()

  -- gd: to the definition in another script.
  vim.api.nvim_win_set_cursor(0, {22, 20})  -- CountOpenOrders(aOrders)
  type_keys("gd")
  wait_for("the definition", function()
    return vim.fn.expand("%:t") == "orders.nsc" and vim.fn.line(".") == 18
  end)
  say("definition orders.nsc:18")

  references_and_rename()

  vim.lsp.stop_client(nimbo_client)
  wait_for("the server's end", function() return vim.lsp.get_client_by_id(nimbo_client) == nil end)
  say("OK")
  os.exit(0)
end

co = coroutine.create(main)
local ok, message = coroutine.resume(co)
if not ok then fail(tostring(message)) end
