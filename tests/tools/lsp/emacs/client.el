;;; client.el --- Emacs 28 with eglot as a user meets `nimbo lsp'  -*- lexical-binding: t -*-
;; The README's Emacs block, run as it stands there (only its two /path/to/
;; placeholders filled in), then a script of the sample project opened and
;; typed in: a diagnostic flymake holds, the signature and the prototype that eldoc shows, completion at
;; point (C-M-i) and the definition M-. goes to. Batch mode has no command
;; loop, so the test runs the hooks a command would have run.
;; Environment: NIMBO_BIN, NIMBO_README, NIMBO_TEST_PROGRAMS, NIMBO_TEST_PROJECT.

(defun nimbo-test-fail (format-string &rest args)
  (princ (concat "FAIL " (apply #'format format-string args) "\n"))
  (let ((server (ignore-errors (eglot-current-server))))
    (when server
      (with-current-buffer (jsonrpc-events-buffer server)
        (princ (buffer-substring (max (point-min) (- (point-max) 3000)) (point-max))))))
  (kill-emacs 1))

(defun nimbo-test-wait (what predicate)
  "Runs the event loop until PREDICATE gives non-nil, and returns that."
  (let ((value nil) (tries 0))
    (while (and (not (setq value (funcall predicate))) (< tries 100))
      (accept-process-output nil 0.1)
      (setq tries (1+ tries)))
    (or value (nimbo-test-fail "timed out waiting for %s" what))))

;; The README's block: the first elisp block after its "**Emacs**" line.
(let ((block (with-temp-buffer
               (insert-file-contents (getenv "NIMBO_README"))
               (unless (re-search-forward "^\\*\\*Emacs\\*\\*.*\n\\(?:.*\n\\)*?```elisp\n" nil t)
                 (nimbo-test-fail "no Emacs block in the README"))
               (buffer-substring (point) (progn (search-forward "\n```") (match-beginning 0))))))
  (setq block (string-replace "/path/to/nimbo" (getenv "NIMBO_BIN") block))
  (setq block (string-replace "/path/to/Programs" (getenv "NIMBO_TEST_PROGRAMS") block))
  (with-temp-buffer
    (insert block)
    (goto-char (point-min))
    (condition-case nil
        (while t (eval (read (current-buffer)) t))
      (end-of-file nil))))

;; The marker the README tells to put in the scripts' top folder.
(with-temp-file (expand-file-name ".nimbo-project" (getenv "NIMBO_TEST_PROJECT")))
(find-file (expand-file-name "main.nsc" (getenv "NIMBO_TEST_PROJECT")))
(unless (eq major-mode 'nimbo-mode) (nimbo-test-fail "main.nsc opened in %s" major-mode))
(run-hooks 'post-command-hook)  ; what the command loop runs after find-file: eglot-ensure connects
(nimbo-test-wait "the server" (lambda () (eglot-current-server)))

(defun nimbo-test-type (text)
  "Inserts TEXT at the end of the buffer as typing does, and lets eglot send it."
  (goto-char (point-max))
  (insert text)
  (run-hooks 'post-command-hook)
  ;; A pause in the typing: eglot's idle timer sends the change (batch mode
  ;; is never idle, so the test fires it).
  (when eglot--change-idle-timer (timer-event-handler eglot--change-idle-timer))
  (nimbo-test-wait "the edit sent" (lambda () (not eglot--recent-changes)))
  (goto-char (point-max)))

(defun nimbo-test-eldoc (function)
  "What eldoc's FUNCTION (eglot's signature or hover source) shows at point."
  (let ((shown nil))
    (funcall function (lambda (text &rest _) (setq shown (or text 'nothing))))
    (let ((text (nimbo-test-wait (format "%s" function) (lambda () shown))))
      (if (stringp text) text ""))))

(defun nimbo-test-marked (text)
  "The part of TEXT eldoc marks as the current argument, or nil."
  (let ((marked nil))
    (dotimes (i (length text))
      (let ((face (get-text-property i 'face text)))
        (when (or (eq face 'eldoc-highlight-function-argument)
                  (and (listp face) (memq 'eldoc-highlight-function-argument face)))
          (setq marked (concat marked (substring-no-properties text i (1+ i)))))))
    marked))

;; A diagnostic, as flymake holds it: main.nsc defines AskYesNo, which the
;; built-in of the name hides. Flymake starts its backends after a command.
(let ((hidden (nimbo-test-wait
               "a diagnostic"
               (lambda ()
                 (run-hooks 'post-command-hook)
                 (seq-find (lambda (diagnostic)
                             (string-match-p "AskYesNo(szQuestion)" (flymake-diagnostic-text diagnostic)))
                           (flymake-diagnostics))))))
  (unless (eq (flymake-diagnostic-type hidden) 'eglot-warning)
    (nimbo-test-fail "diagnostic: %S" (flymake-diagnostic-type hidden)))
  (princ (format "diagnostic %d warning %s\n" (line-number-at-pos (flymake-diagnostic-beg hidden))
                 (if (string-match-p "\\[hiddenByBuiltin\\]" (flymake-diagnostic-text hidden)) "hiddenByBuiltin"
                   (flymake-diagnostic-text hidden)))))

;; Signature help: the call's prototype and its current argument.
(nimbo-test-type "\n  é = StrMid(AddTax(1, 2), 2, ")
(let* ((text (nimbo-test-eldoc #'eglot-signature-eldoc-function))
       (marked (nimbo-test-marked text)))
  (unless (string-prefix-p "StrMid(szText, nStart, nCount)" text) (nimbo-test-fail "signature: %S" text))
  (unless (equal marked "nCount") (nimbo-test-fail "marked argument: %S in %S" marked text))
  (princ (format "signature %s marked %s\n" (substring-no-properties text 0 30) marked)))
(nimbo-test-type "3, ")
(let ((text (nimbo-test-eldoc #'eglot-signature-eldoc-function)))
  (when (nimbo-test-marked text) (nimbo-test-fail "past the last parameter, marked: %S" (nimbo-test-marked text)))
  (princ "past the last parameter: none marked\n"))

;; Completion at point, as C-M-i asks for it.
(nimbo-test-type "\n  x = StrTr")
(let* ((capf (eglot-completion-at-point))
       (labels (sort (all-completions "StrTr" (nth 2 capf)) #'string<)))
  (unless (equal labels '("StrTrim" "StrTrimLeft" "StrTrimRight")) (nimbo-test-fail "completion: %S" labels))
  (princ (format "completion %s\n" (string-join labels " "))))

;; Hover: the prototype and the description under point.
(goto-char (point-min))
(search-forward "LoadOrders(\"")
(backward-char 4)
(let ((text (nimbo-test-eldoc #'eglot-hover-eldoc-function)))
  (unless (string-match-p "LoadOrders(strFile)" text) (nimbo-test-fail "hover: %S" text))
  (princ "hover ok\n"))

;; A quick fix, as M-x eglot-code-actions offers it for the kind
;; "quickfix" (the one action there is is applied).
(nimbo-test-type "\n  StrTrimm(g_strTitle);")
(nimbo-test-wait "the unknown name's diagnostic"
                 (lambda ()
                   (run-hooks 'post-command-hook)
                   (seq-find (lambda (diagnostic) (string-match-p "StrTrimm" (flymake-diagnostic-text diagnostic)))
                             (flymake-diagnostics))))
(search-backward "StrTrimm")
(let ((offered (eglot-code-actions (point) (point) "quickfix")))
  (eglot-code-actions (point) (point) "quickfix" t)
  (unless (looking-at "StrTrim(g_strTitle);$") (nimbo-test-fail "quick fix: %S" (thing-at-point 'line)))
  (princ (format "quick fix %s\n" (plist-get (car offered) :title))))

;; Semantic tokens and inlay hints, which eglot 1.9 does not show, through
;; its request function.
(defun nimbo-test-request (method &rest params)
  (jsonrpc-request (eglot-current-server) method (append (list :textDocument (eglot--TextDocumentIdentifier)) params)))
(let ((data (plist-get (nimbo-test-request :textDocument/semanticTokens/full) :data))
      (legend (plist-get (plist-get (eglot--capabilities (eglot-current-server)) :semanticTokensProvider) :legend))
      (line 0) (start 0) (found nil))
  (dotimes (i (/ (length data) 5))
    (let ((delta (aref data (* 5 i))))
      (if (> delta 0) (setq line (+ line delta) start (aref data (+ (* 5 i) 1)))
        (setq start (+ start (aref data (+ (* 5 i) 1)))))
      (let* ((from (eglot--lsp-position-to-point (list :line line :character start)))
             (to (eglot--lsp-position-to-point (list :line line :character (+ start (aref data (+ (* 5 i) 2))))))
             (text (buffer-substring-no-properties from to)))
        (unless (assoc text found)
          (let ((kind (aref (plist-get legend :tokenTypes) (aref data (+ (* 5 i) 3))))
                (modifiers (aref data (+ (* 5 i) 4))))
            (seq-do-indexed (lambda (name bit)
                              (when (/= 0 (logand modifiers (ash 1 bit))) (setq kind (concat kind "." name))))
                            (plist-get legend :tokenModifiers))
            (push (cons text kind) found))))))
  (princ (format "semantic tokens ShowBanner %s, Print %s, function %s, \"orders.txt\" %s\n"
                 (cdr (assoc "ShowBanner" found)) (cdr (assoc "Print" found))
                 (cdr (assoc "function" found)) (cdr (assoc "\"orders.txt\"" found)))))
(let ((hints (nimbo-test-request :textDocument/inlayHint
                                 :range (list :start (list :line 0 :character 0)
                                              :end (eglot--pos-to-lsp-position (point-max))))))
  (seq-doseq (hint hints)
    (save-excursion
      (goto-char (eglot--lsp-position-to-point (plist-get hint :position)))
      (when (looking-at "\"orders.txt\"")
        (princ (format "inlay hint %s before \"orders.txt\"\n" (plist-get hint :label)))))))

;; M-.: the definition in another script.
(goto-char (point-min))
(search-forward "= CountOpenOrders")
(call-interactively #'xref-find-definitions)
(unless (and (equal (file-name-nondirectory (buffer-file-name)) "orders.nsc") (= (line-number-at-pos) 18))
  (nimbo-test-fail "definition: %s:%d" (buffer-file-name) (line-number-at-pos)))
(princ "definition orders.nsc:18\n")

;; Outside a version-control checkout, the README's marker makes the whole
;; tree one project: a script in a subfolder is served by the same server,
;; which knows the functions of the folder above.
(let ((server (eglot-current-server))
      (sub (expand-file-name "lib/extra.nsc" (getenv "NIMBO_TEST_PROJECT"))))
  (make-directory (file-name-directory sub) t)
  (with-temp-file sub (insert "function Extra() {\n  CountOpenOrders(\n}\n"))
  (find-file sub)
  (run-hooks 'post-command-hook)
  (nimbo-test-wait "the subfolder's server" (lambda () (eglot-current-server)))
  (unless (eq (eglot-current-server) server) (nimbo-test-fail "a second server for lib/"))
  (princ "one server for the tree\n"))

(eglot-shutdown (eglot-current-server))
(princ "OK\n")
(kill-emacs 0)
