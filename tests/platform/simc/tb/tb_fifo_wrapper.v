// Fills a generated FIFO wrapper, fifo_under_test, customized to DEPTH words of DATA_WIDTH
// bits: full must rise exactly after DEPTH writes, and the words must come back in order
// cut to DATA_WIDTH bits (the 64-bit nets show any wider word). Prints PASS or FAIL.
module tb_fifo_wrapper;
    parameter integer DATA_WIDTH = 8;
    parameter integer DEPTH = 16;

    reg clk = 0, rst = 1, wr_en = 0, rd_en = 0;
    reg [63:0] din = 0;
    wire [63:0] dout;
    wire full, prog_full, empty;
    integer n, errors = 0;

    fifo_under_test dut (
        .clk(clk), .rst(rst), .wr_en(wr_en), .din(din), .full(full),
        .prog_full(prog_full), .rd_en(rd_en), .dout(dout), .empty(empty), .data_count());

    always #5 clk = ~clk;

    // All ones above the word's top bit, so that a wider FIFO returns more than it should.
    function [63:0] word(input integer i);
        word = {64{1'b1}} ^ i;
    endfunction

    function [63:0] kept(input integer i);
        kept = word(i) & ((64'd1 << DATA_WIDTH) - 1);
    endfunction

    initial begin
        @(negedge clk) rst = 0;
        for (n = 0; n < DEPTH; n = n + 1) begin
            if (full) errors = errors + 1;
            wr_en = 1;
            din = word(n);
            @(negedge clk);
        end
        wr_en = 0;
        if (!full) errors = errors + 1;
        for (n = 0; n < DEPTH; n = n + 1) begin
            rd_en = 1;
            @(negedge clk);
            if (dout !== kept(n)) errors = errors + 1;
        end
        rd_en = 0;
        if (!empty) errors = errors + 1;
        if (errors == 0) $display("PASS fifo %0d bits full after %0d writes", DATA_WIDTH, DEPTH);
        else $display("FAIL fifo DATA_WIDTH=%0d DEPTH=%0d: %0d mismatches", DATA_WIDTH, DEPTH, errors);
        $finish;
    end
endmodule
