// Fills a fifo_sync_core of DEPTH words of DATA_WIDTH bits, checks that full rises
// exactly after DEPTH writes and that the words come back in order, then that empty
// rises after DEPTH reads. Prints one line starting with PASS or FAIL.
module tb_fifo_sync;
    parameter integer DATA_WIDTH = 8;
    parameter integer DEPTH = 16;

    reg clk = 0, rst = 1, wr_en = 0, rd_en = 0;
    reg [DATA_WIDTH-1:0] din = 0;
    wire [DATA_WIDTH-1:0] dout;
    wire full, prog_full, empty;
    wire [$clog2(DEPTH):0] data_count;
    integer n, errors = 0;

    fifo_sync_core #(.DATA_WIDTH(DATA_WIDTH), .DEPTH(DEPTH), .PROG_FULL_THRESHOLD(DEPTH - 1),
                     .HAS_DATA_COUNT(1)) dut (
        .clk(clk), .rst(rst), .wr_en(wr_en), .din(din), .full(full), .prog_full(prog_full),
        .rd_en(rd_en), .dout(dout), .empty(empty), .data_count(data_count));

    always #5 clk = ~clk;

    // A pattern that uses the top bit of the word.
    function [DATA_WIDTH-1:0] word(input integer i);
        word = {i[0], {(DATA_WIDTH - 1) {1'b0}}} ^ i;
    endfunction

    initial begin
        @(negedge clk) rst = 0;
        if (!empty || full) errors = errors + 1;
        for (n = 0; n < DEPTH; n = n + 1) begin
            if (full) errors = errors + 1;
            wr_en = 1;
            din = word(n);
            @(negedge clk);
        end
        wr_en = 0;
        if (!full || !prog_full || data_count != DEPTH) errors = errors + 1;
        // A write into a full FIFO is dropped.
        wr_en = 1;
        din = ~word(0);
        @(negedge clk) wr_en = 0;
        for (n = 0; n < DEPTH; n = n + 1) begin
            if (empty) errors = errors + 1;
            rd_en = 1;
            @(negedge clk);
            if (dout !== word(n)) errors = errors + 1;
        end
        rd_en = 0;
        if (!empty || full || data_count != 0) errors = errors + 1;
        if (errors == 0) $display("PASS fifo DATA_WIDTH=%0d full after %0d writes", DATA_WIDTH, DEPTH);
        else $display("FAIL fifo DATA_WIDTH=%0d DEPTH=%0d: %0d mismatches", DATA_WIDTH, DEPTH, errors);
        $finish;
    end
endmodule
